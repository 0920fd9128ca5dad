#pragma once
#include <QDialog>

class CDDSDevice;
class CLanguageManager;
class CNumEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

/// Asks how the current wave is written for other programs: WAV or CSV (time, volts), how many
/// periods and at what sample rate (by default one period, one sample per point the device
/// holds), showing how many samples that makes and refusing, as the numbers change, more than
/// the export takes. Save ends it; the caller asks for the file. The next one opens with the
/// choices of the last one saved.
class CExportWaveDlg : public QDialog {
    Q_OBJECT

public:
    CExportWaveDlg(const CDDSDevice& device, const CLanguageManager& language,
                   QWidget* parent = nullptr);

    int m_nFormat = 0; ///< CWaveExport::Format.
    int m_nPeriods = 1;
    double m_dSampleRate = 1.0;

    QRadioButton* CsvButton() const { return m_pCsv; }
    QLineEdit* PeriodsField() const { return m_pPeriods; }
    CNumEdit* RateField() const { return m_pRate; }
    QLabel* SamplesLabel() const { return m_pSamples; }
    QPushButton* SaveButton() const { return m_pSave; }
    /// Why Save is disabled (beside it), empty while the export is possible.
    QLabel* LimitLabel() const { return m_pLimit; }

    void accept() override;

private:
    /// Reads the periods field; false (after the warning) when its text is no whole number.
    bool ReadPeriods();
    /// Shows the sample count, and disables Save with the reason while it passes the limit.
    void ShowSamples();

    /// What the last export saved chose.
    struct Last {
        bool bValid = false;
        int nFormat = 0;
        int nPeriods = 1;
        double dSampleRate = 1.0;
    };
    static Last s_last;

    const CDDSDevice& m_device;
    const CLanguageManager& m_language;
    QRadioButton* m_pWav;
    QRadioButton* m_pCsv;
    QLineEdit* m_pPeriods;
    CNumEdit* m_pRate;
    QLabel* m_pSamples;
    QPushButton* m_pSave;
    QLabel* m_pLimit;
};
