#pragma once
#include <QDialog>

class CLanguageManager;
class CSpinButton;
class QLineEdit;

/// Chooses how many periods the waveform display draws (1 to 99). The caller reads
/// m_nNumber after OK and stores it; the dialog itself changes nothing.
class CPeriodNumberDlg : public QDialog {
    Q_OBJECT

public:
    CPeriodNumberDlg(int number, const CLanguageManager& language, QWidget* parent = nullptr);

    int m_nNumber; ///< The last good number: clamped, never taken from text that is no number.

    QLineEdit* NumberField() const { return m_pNumber; }
    CSpinButton* Spin() const { return m_pSpin; }

private:
    void OnNumberChanged();
    void OnSpin(int delta);
    void ShowNumber();

    const CLanguageManager& m_language;
    QLineEdit* m_pNumber;
    CSpinButton* m_pSpin;
};
