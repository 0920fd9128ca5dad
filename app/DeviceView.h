#pragma once

class CCmdUI;
class CDeviceSetup;
class QWidget;

/// What the document and the main frame ask of a device view. The control-panel view implements
/// it; tests may plug in a lighter one.
class CDeviceView {
public:
    virtual ~CDeviceView() = default;

    /// Creates the device record, binds it, adds the document to the frame, starts the worker.
    virtual void OnInitialUpdate() = 0;
    virtual void SelectWaveType(int type) = 0;
    /// The Frequency field shows m_dFrequency as "%.3f".
    virtual void ShowFrequency() = 0;
    /// Re-texts the view and its open digital I/O dialogs in the current language.
    virtual void RetextWindows() = 0;
    /// Called when the view's child frame becomes the active one.
    virtual void ActivateView() = 0;
    /// True when handled; the view sees commands before the document.
    virtual bool OnCommand(int id) = 0;
    /// True when the view decided the item's state.
    virtual bool OnUpdateCommand(CCmdUI& ui) = 0;
    virtual QWidget* Widget() = 0;
    /// Adds what the window shows around the record to a setup (display colours, zoom).
    virtual void CaptureWindowSetup(CDeviceSetup& setup) const { (void)setup; }
    /// Shows a setup's window part once the record holds the rest of it.
    virtual void ApplyWindowSetup(const CDeviceSetup& setup) { (void)setup; }
};
