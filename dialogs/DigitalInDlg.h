#pragma once
#include "dialogs/PinDlg.h"

/// Shows the six digital input lines of a device, polled every 300 ms while the dialog exists.
class CDigitalInDlg : public CPinDlg {
    Q_OBJECT

public:
    static constexpr int kPins = 6;

    CDigitalInDlg(CDDSDevice& device, const CLanguageManager& language, QWidget* parent = nullptr);

    /// The boxes are set again only when the input lines changed.
    void OnTimer() override;

private:
    void ShowLines(int lines);

    /// Input lines last shown; starts out of range so the first tick always shows them.
    int m_nLastShown = 0x0FFF;
};
