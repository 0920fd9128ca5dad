#pragma once
#include "media/WaveImport.h"

#include <QDialog>

#include <vector>

class CCurvePreview;
class CLanguageManager;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

/// Shows a waveform file's samples as the table they will become before anything is applied:
/// the number of table points (resampled on Enter or when the field is left), keep volts or
/// fit to the amplitude, how many points the output's limits will clip, and the frequency the
/// table will play at. Apply ends it with the table ready in Points().
class CImportWaveDlg : public QDialog {
    Q_OBJECT

public:
    /// amplitude: the panel's, for fitting; frequency: the device's, kept when the file gives
    /// no time.
    CImportWaveDlg(CWaveImport::Source source, double amplitude, double frequency,
                   const CLanguageManager& language, QWidget* parent = nullptr);

    int m_nPoints = 1;  ///< Table points, 1 to 4096.
    int m_nScaling = 0; ///< CWaveResampler::Scaling.

    /// The table in volts as it will play (clipped at the output's limits).
    std::vector<float> Points() const;
    /// Frequency the table plays at: the file's period when it has one, else the device's.
    double Frequency() const { return m_dFrequency; }
    /// Points in the Clipped readout.
    int Clipped() const;

    QLineEdit* PointsField() const { return m_pPoints; }
    QRadioButton* FitButton() const { return m_pFit; }
    QPushButton* ApplyButton() const { return m_pApply; }
    CCurvePreview* Preview() const { return m_pPreview; }
    QLabel* ClippedLabel() const { return m_pClipped; }

    void accept() override;

private:
    /// Reads the points field; a new number resamples. False when the text is no number.
    bool ReadPoints();
    void Resample();
    void ShowTable();

    const CLanguageManager& m_language;
    CWaveImport::Source m_source;
    double m_dAmplitude;
    double m_dFrequency;
    std::vector<double> m_table; ///< Resampled, not yet scaled.
    CCurvePreview* m_pPreview;
    QLineEdit* m_pPoints;
    QRadioButton* m_pKeep;
    QRadioButton* m_pFit;
    QLabel* m_pClipped;
    QLabel* m_pFrequency;
    QPushButton* m_pApply;
};
