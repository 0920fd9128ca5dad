#pragma once
#include <QPointer>

#include <memory>

class CDigitalInDlg;
class CDigitalOutDlg;
class CMultiDDSTarnDoc;
class CSweepDlg;
class QWidget;

/// The dialogs a device view opens: the Sweep dialog (modal) and its own Digital Out and
/// Digital In dialogs (modeless, one of each, created on first use). Destroying this object
/// destroys them, so none outlives the device record it polls.
class CDeviceDialogs {
public:
    explicit CDeviceDialogs(CMultiDDSTarnDoc* doc);
    ~CDeviceDialogs();

    CDeviceDialogs(const CDeviceDialogs&) = delete;
    CDeviceDialogs& operator=(const CDeviceDialogs&) = delete;

    /// Runs the Sweep dialog over owner; afterwards the wave is downloaded again unless Arb.
    void RunSweep(QWidget* owner);
    void ShowDigitalOut();
    void ShowDigitalIn();
    /// Puts the current language on every open dialog.
    void Retext();
    /// Destroys the modeless dialogs now.
    void Close();

    CDigitalOutDlg* DigitalOut() const { return m_pDigitalOut.get(); }
    CDigitalInDlg* DigitalIn() const { return m_pDigitalIn.get(); }

private:
    CMultiDDSTarnDoc* m_pDocument;
    std::unique_ptr<CDigitalOutDlg> m_pDigitalOut;
    std::unique_ptr<CDigitalInDlg> m_pDigitalIn;
    QPointer<CSweepDlg> m_pSweep; ///< Set while the Sweep dialog runs.
};
