#pragma once
#include "app/DeviceView.h"
#include "engine/DeviceWorker.h"
#include "view/CounterField.h"
#include "view/DeviceDialogs.h"
#include "view/PanelControls.h"
#include "view/PanelSync.h"

#include <QRect>
#include <QString>
#include <QWidget>

class CCmdUI;
class CCounterEdit;
class CDDSDevice;
class CDeviceControl;
class CLED;
class CLeftRight;
class CMultiDDSTarnDoc;
class COnOff;
class CSpinButton;
class CStepEdit;
class CTurnButton;
class CWaveDisplay;
class QLineEdit;
class QSlider;
class QToolButton;

/// The window of one device: the waveform display with its zoom slider on the left, and the
/// control panel (wave switches, function switches, counter, numeric fields, spins and knobs)
/// on the right. It owns the device's worker thread.
class CMultiDDSTarnView : public QWidget, public CDeviceView {
    Q_OBJECT

public:
    explicit CMultiDDSTarnView(CMultiDDSTarnDoc* doc, QWidget* parent = nullptr);
    ~CMultiDDSTarnView() override; ///< Stops and joins the worker first.

    // CDeviceView
    void OnInitialUpdate() override;
    void SelectWaveType(int type) override;
    void ShowFrequency() override;
    void RetextWindows() override;
    void ActivateView() override;
    bool OnCommand(int id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;
    QWidget* Widget() override { return this; }
    void CaptureWindowSetup(CDeviceSetup& setup) const override;
    void ApplyWindowSetup(const CDeviceSetup& setup) override;

    /// A form control by its template id (null for an unknown id).
    QWidget* Control(int id) const { return m_panel.Control(id); }
    CWaveDisplay* Display() const { return m_pDisplay; }
    CMultiDDSTarnDoc* GetDocument() const { return m_pDocument; }
    const CDeviceWorker& Worker() const { return m_worker; }
    CDeviceDialogs& Dialogs() { return m_dialogs; }
    /// Counter field text as the last refresh left it.
    const QString& CounterText() const { return m_strCounter; }

    /// One 100 ms tick: first-tick menu re-texting, the panel brought up to the record (a
    /// remote client's changes), Arb zoom window, display, counter.
    void OnTimer();

    int m_bShowControl = 1;
    int m_bInitDone = 0;
    /// 1 while a knob event is handled: the text handlers then leave the device alone.
    int m_bKnobBusy = 0;
    QRect m_rcPanel;
    QRect m_rcDisplay;
    QRect m_rcSlider;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void CreateControls();
    void ConnectControls();
    void Layout();
    void UpdatePanelButton();
    /// Tab walks the panel as it is seen, row by row.
    void SetTabOrder();
    /// Each field's step in its tooltip and accessible description, the frequency's after the
    /// played frequency.
    void UpdateStepTexts();
    /// Names that follow the levers and the panel arrow (CPanelAccessNames::ApplyStates), made
    /// again only when one of them moved.
    void UpdateStateNames();
    void UpdateData(); ///< Data exchange to the controls: the counter field.
    void RefreshCounter();
    /// The played frequency and its deviation for the frequency field's tooltip and the report;
    /// empty for a demo device.
    QString PlayedText() const;
    void SetMaxFrequency();
    /// The wave switches, slider, layout and frequency range of another wave type.
    void ShowWaveType(int previous, int type);

    void OnFrequencyChange();
    void OnAmplitudeChange();
    void OnOffsetChange();
    void OnPhaseChange();
    void OnSpinOffset(int delta);
    void OnSpinPhase(int delta);
    /// A knob steps its field; only the applying event (mouse up) reaches the device.
    void OnKnob(int knobId, bool apply);
    void OnSwitch(int id);
    void OnMeasureModeClick();
    void OnTrigEdgeClick();
    void OnShowHideControl();
    void OnOutputSet() { m_dialogs.ShowDigitalOut(); }
    void OnDigitalInput() { m_dialogs.ShowDigitalIn(); }
    void OnSweep() { m_dialogs.RunSweep(this); }

    COnOff* Switch(int id) const;
    CLED* Led(int id) const;
    CStepEdit* Field(int id) const;

    CMultiDDSTarnDoc* m_pDocument;
    CPanelControls m_panel;
    CPanelSync m_sync; ///< After the panel it follows.
    CDDSDevice* m_pDevice = nullptr;
    CDeviceControl* m_pControl = nullptr; ///< Every setting the panel makes goes through it.
    CDeviceWorker m_worker;
    CDeviceDialogs m_dialogs;
    CWaveDisplay* m_pDisplay = nullptr;
    QSlider* m_pSlider = nullptr;
    QToolButton* m_pPanelButton = nullptr;
    CCounterEdit* m_pCounter = nullptr;
    QRect m_rcFill; ///< Button-face area behind the hide/show button and the panel.
    QString m_strCounter;
    QString m_strPlayed;             ///< PlayedText() as the tooltip shows it.
    double m_dPlayedShown = -2.0;    ///< The played frequency m_strPlayed was made for,
    double m_dRequestedShown = -2.0; ///< and the frequency asked for.
    int m_nNamedStates = -1;         ///< Lever and panel states the names were made for.
    CCounterField m_counterField;
    int m_nTimer = 0;
    /// Zoom level and slider fraction of an applied setup, shown once the unit has its new
    /// plan (the frequency command starts Arb unzoomed); -1: none waiting.
    int m_nPendingZoom = -1;
    float m_fPendingViewPos = 0.0f;
};
