#include "view/MultiDDSTarnView.h"

#include "app/ArbHistory.h"
#include "app/CmdUI.h"
#include "app/MainFrame.h"
#include "app/MultiDDSTarnDoc.h"
#include "control/DeviceControl.h"
#include "engine/DDSDevice.h"
#include "i18n/NumberText.h"
#include "res/Resource.h"
#include "view/CounterText.h"
#include "view/KnobEncoder.h"
#include "view/PanelAccessNames.h"
#include "view/PanelLayout.h"
#include "view/WaveDisplay.h"
#include "widgets/CounterEdit.h"
#include "widgets/LED.h"
#include "widgets/LeftRight.h"
#include "widgets/OnOff.h"
#include "widgets/PanelAccessible.h"
#include "widgets/SpinButton.h"
#include "widgets/StepEdit.h"
#include "widgets/TurnButton.h"

#include <QFile>
#include <QFontMetrics>
#include <QIcon>
#include <QLineEdit>
#include <QPainter>
#include <QSlider>
#include <QTimerEvent>
#include <QToolButton>

namespace {

/// How long closing a device waits for its worker; only a driver call that hangs takes longer,
/// and Exit must end the program within 3 s even then.
constexpr std::chrono::milliseconds kWorkerStopPatience{500};

// Shared by every device view: a text change made while one of these handlers runs (its own
// ShowValue, or another view's) is not applied a second time.
bool s_bInFrequencyChange = false;
bool s_bInAmplitudeChange = false;
// The main frame's menu bar is re-texted once, at the first tick of the first view.
bool s_bFirstTick = true;

constexpr int kTimerInterval = 100; // ms

} // namespace

CMultiDDSTarnView::CMultiDDSTarnView(CMultiDDSTarnDoc* doc, QWidget* parent)
    : QWidget(parent), m_pDocument(doc), m_panel(this),
      m_sync(m_panel,
             [this](int previous, int type) {
                 ShowWaveType(previous, type);
                 // Chosen from outside, never from a file (File > Open shows its own wave): the
                 // name Save would write to is gone, as when the panel chooses.
                 m_pDocument->m_strFileName = QString::fromLatin1(CMultiDDSTarnDoc::kNoFile);
             }),
      m_dialogs(doc) {
    CreateControls();
    ConnectControls();
}

CMultiDDSTarnView::~CMultiDDSTarnView() {
    // The worker steps the document's record, which may go right after this view; a worker
    // stuck inside a driver call that hangs is not waited for, and keeps the record.
    if (!m_worker.Stop(kWorkerStopPatience) && m_pDocument)
        m_pDocument->LeaveDeviceToStuckWorker();
    // The digital I/O dialogs poll the same record.
    m_dialogs.Close();
    if (m_nTimer)
        killTimer(m_nTimer);
}

void CMultiDDSTarnView::CreateControls() {
    m_pDisplay = m_panel.Get<CWaveDisplay>(IDC_WAVE_DISPLAY);
    m_pSlider = m_panel.Get<QSlider>(IDC_VIEW_SLIDER);
    m_pPanelButton = m_panel.Get<QToolButton>(IDC_PANEL_BUTTON);
    m_pCounter = m_panel.Get<CCounterEdit>(IDC_COUNTER);
    m_counterField.Attach(m_pCounter);
    // A reader reaches the reading with Tab; it stays read-only.
    m_pCounter->setFocusPolicy(Qt::TabFocus);
    // A reader's value of a knob or spin button is that of the field it steps.
    const std::pair<int, int> stepped[] = {{IDC_KNOB_FREQUENCY, IDC_FREQUENCY},
                                           {IDC_KNOB_AMPLITUDE, IDC_AMPLITUDE},
                                           {IDC_SPIN_OFFSET, IDC_OFFSET},
                                           {IDC_SPIN_PHASE, IDC_PHASE}};
    for (const auto& [control, field] : stepped) {
        m_panel.Control(control)->setProperty("valueField",
                                              QVariant::fromValue<QObject*>(Field(field)));
        m_panel.Control(control)->setProperty("stepsPerTurn", CKnobEncoder::kStepsPerTurn);
    }
    SetTabOrder();
    m_pSlider->hide();
    m_pSlider->setEnabled(false);
    m_pDisplay->SetSlider(m_pSlider);
    // Below this size the device window scrolls instead of cutting the panel off.
    setMinimumSize(CPanelLayout::MinimumClient(m_panel.PanelExtent(),
                                               m_panel.TemplateRect(IDC_GROUP_TOP).width(),
                                               m_pPanelButton->size()));
    m_pDisplay->SetReportSource([this] {
        CWaveDisplay::ReportFields fields;
        fields.strFrequency = Field(IDC_FREQUENCY)->text();
        fields.dAmplitude = Field(IDC_AMPLITUDE)->GetValue();
        fields.dOffset = Field(IDC_OFFSET)->GetValue();
        fields.strCounter = m_strCounter;
        fields.strPlayed = PlayedText();
        return fields;
    });
    UpdatePanelButton();
}

void CMultiDDSTarnView::ConnectControls() {
    // Drawing Arb points refreshes the panel's fields as every other edit does.
    connect(m_pDisplay, &CWaveDisplay::PointsEdited, this, [this] { UpdateData(); });
    for (int type = WAVE_SINE; type <= WAVE_WHITE_NOISE; ++type) {
        connect(Switch(CPanelSync::WaveSwitchId(type)), &COnOff::MouseDown, this, [this, type] {
            if (m_pDevice)
                SelectWaveType(type);
        });
    }
    for (int id :
         {IDC_SW_COUNTER, IDC_SW_SINGLE_WAVE, IDC_SW_OUTPUT, IDC_SW_EXT_TRIG, IDC_SW_ATTEN})
        connect(Switch(id), &COnOff::MouseDown, this, [this, id] { OnSwitch(id); });
    connect(m_panel.Get<CLeftRight>(IDC_MEASURE_MODE), &CLeftRight::Click, this,
            &CMultiDDSTarnView::OnMeasureModeClick);
    connect(m_panel.Get<CLeftRight>(IDC_TRIG_EDGE), &CLeftRight::Click, this,
            &CMultiDDSTarnView::OnTrigEdgeClick);

    connect(Field(IDC_FREQUENCY), &QLineEdit::textChanged, this,
            &CMultiDDSTarnView::OnFrequencyChange);
    connect(Field(IDC_AMPLITUDE), &QLineEdit::textChanged, this,
            &CMultiDDSTarnView::OnAmplitudeChange);
    connect(Field(IDC_OFFSET), &QLineEdit::textChanged, this, &CMultiDDSTarnView::OnOffsetChange);
    connect(Field(IDC_PHASE), &QLineEdit::textChanged, this, &CMultiDDSTarnView::OnPhaseChange);

    connect(m_panel.Get<CSpinButton>(IDC_SPIN_OFFSET), &CSpinButton::DeltaPos, this,
            &CMultiDDSTarnView::OnSpinOffset);
    connect(m_panel.Get<CSpinButton>(IDC_SPIN_PHASE), &CSpinButton::DeltaPos, this,
            &CMultiDDSTarnView::OnSpinPhase);

    for (int id : {IDC_KNOB_FREQUENCY, IDC_KNOB_AMPLITUDE}) {
        auto* knob = m_panel.Get<CTurnButton>(id);
        connect(knob, &CTurnButton::MouseDown, this, [this, id] { OnKnob(id, false); });
        connect(knob, &CTurnButton::MouseMove, this, [this, id] { OnKnob(id, false); });
        connect(knob, &CTurnButton::MouseUp, this, [this, id] { OnKnob(id, true); });
    }

    connect(m_pPanelButton, &QToolButton::clicked, this, &CMultiDDSTarnView::OnShowHideControl);
    for (int id : {IDC_FREQUENCY, IDC_AMPLITUDE, IDC_OFFSET, IDC_PHASE})
        connect(Field(id), &CStepEdit::StepChanged, this, &CMultiDDSTarnView::UpdateStepTexts);
}

void CMultiDDSTarnView::SetTabOrder() {
    // The panel's visual order: rows top to bottom, each left to right.
    static constexpr int kOrder[] = {IDC_WAVE_DISPLAY,     IDC_VIEW_SLIDER,      IDC_PANEL_BUTTON,
                                     IDC_MEASURE_MODE,     IDC_COUNTER,          IDC_SW_COUNTER,
                                     IDC_WAVE_RAMP,        IDC_WAVE_TRAPEZIA,    IDC_WAVE_EXPONENT,
                                     IDC_SW_SINGLE_WAVE,   IDC_WAVE_SQUARE,      IDC_WAVE_ARB,
                                     IDC_WAVE_GAUSS_NOISE, IDC_SW_ATTEN,         IDC_WAVE_SINE,
                                     IDC_WAVE_AMFM,        IDC_WAVE_WHITE_NOISE, IDC_SW_EXT_TRIG,
                                     IDC_TRIG_EDGE,        IDC_SW_OUTPUT,        IDC_PHASE,
                                     IDC_SPIN_PHASE,       IDC_OFFSET,           IDC_SPIN_OFFSET,
                                     IDC_FREQUENCY,        IDC_AMPLITUDE,        IDC_KNOB_FREQUENCY,
                                     IDC_KNOB_AMPLITUDE};
    QWidget* previous = nullptr;
    for (int id : kOrder) {
        QWidget* control = m_panel.Control(id);
        if (previous && control)
            QWidget::setTabOrder(previous, control);
        previous = control ? control : previous;
    }
}

void CMultiDDSTarnView::UpdateStepTexts() {
    // The step a knob or spin arrow adds, chosen by a double-click on a digit.
    const struct {
        int nField;
        const char* szUnit;
    } kFields[] = {
        {IDC_FREQUENCY, " Hz"}, {IDC_AMPLITUDE, " V"}, {IDC_OFFSET, " V"}, {IDC_PHASE, ""}};
    QString label = CWaveDisplay::LanguageText(IDS_STEP);
    if (label.isEmpty()) // a language file older than this text
        label = QStringLiteral("Step: %s");
    for (const auto& entry : kFields) {
        CStepEdit* field = Field(entry.nField);
        const QString step = QString(label).replace(
            QStringLiteral("%s"),
            QString::number(double(field->EffectiveStep()), 'g', 6) + QLatin1String(entry.szUnit));
        field->setAccessibleDescription(step);
        QString tip = step;
        if (entry.nField == IDC_FREQUENCY && !m_strPlayed.isEmpty())
            tip = m_strPlayed + QLatin1Char('\n') + step;
        if (field->toolTip() != tip)
            field->setToolTip(tip);
    }
}

void CMultiDDSTarnView::UpdateStateNames() {
    const int states = (m_panel.Get<CLeftRight>(IDC_MEASURE_MODE)->GetValue() ? 1 : 0) |
                       (m_panel.Get<CLeftRight>(IDC_TRIG_EDGE)->GetValue() ? 2 : 0) |
                       (m_bShowControl ? 4 : 0);
    if (states == m_nNamedStates)
        return;
    m_nNamedStates = states;
    if (CMainFrame* frame = CMainFrame::Get())
        CPanelAccessNames::ApplyStates(m_panel, frame->Language());
}

COnOff* CMultiDDSTarnView::Switch(int id) const {
    return m_panel.Get<COnOff>(id);
}
CLED* CMultiDDSTarnView::Led(int id) const {
    return m_panel.Get<CLED>(id);
}
CStepEdit* CMultiDDSTarnView::Field(int id) const {
    return m_panel.Get<CStepEdit>(id);
}

void CMultiDDSTarnView::OnInitialUpdate() {
    m_pDocument->CreateDevice();
    m_pDevice = m_pDocument->m_pDevice;
    m_pControl = m_pDocument->m_pControl;
    m_pDisplay->SetDocument(m_pDocument);

    CMainFrame* frame = CMainFrame::Get();
    m_pDevice->BindHardware(frame ? frame->MakeBindContext(this) : CDDSDevice::BindContext{});

    m_pSlider->setRange(0, 1000);
    m_pSlider->setEnabled(false);
    m_pDevice->ApplyFrequency();
    if (frame)
        frame->AddDocument(m_pDocument);
    m_nTimer = startTimer(kTimerInterval);

    Field(IDC_FREQUENCY)->SetKind(CStepEdit::KIND_FREQUENCY);
    Field(IDC_AMPLITUDE)->SetKind(CStepEdit::KIND_AMPLITUDE);
    Field(IDC_OFFSET)->SetKind(CStepEdit::KIND_OFFSET);
    Field(IDC_PHASE)->SetKind(CStepEdit::KIND_PHASE);
    Field(IDC_AMPLITUDE)->SetStep(0.001f);
    SetMaxFrequency();

    const struct {
        int nId;
        double dValue;
    } values[] = {{IDC_FREQUENCY, m_pDevice->m_dFrequency},
                  {IDC_AMPLITUDE, m_pDevice->m_fAmplitude},
                  {IDC_OFFSET, m_pDevice->m_dOffset},
                  {IDC_PHASE, m_pDevice->m_fPhase}};
    for (const auto& entry : values) {
        Field(entry.nId)->SetValue(static_cast<float>(entry.dValue));
        Field(entry.nId)->ShowValue();
    }

    Switch(IDC_SW_OUTPUT)->SetValue(m_pDevice->m_bOutputOn != 0);
    Switch(IDC_SW_COUNTER)->SetValue(m_pDevice->m_bCounterOn != 0);
    Led(IDC_LED_OUTPUT)->SetValue(m_pDevice->m_bOutputOn != 0);
    Led(IDC_LED_COUNTER)->SetValue(m_pDevice->m_bCounterOn != 0);
    Switch(IDC_WAVE_SINE)->SetValue(true);

    UpdatePanelButton();
    UpdateData();
    m_bInitDone = 1;
    RetextWindows();

    m_worker.Start(m_pDevice);
}

void CMultiDDSTarnView::SetMaxFrequency() {
    Field(IDC_FREQUENCY)
        ->SetMaxFrequency(
            CDeviceControl::MaxFrequency(m_pDevice ? int(m_pDevice->m_nWaveType) : 0));
}

void CMultiDDSTarnView::UpdateData() {
    m_counterField.Show(m_strCounter);
}

void CMultiDDSTarnView::RefreshCounter() {
    m_strCounter = CCounterText::Format(m_pDevice->m_nMeasureMode, m_pDevice->m_dMeasuredFreq,
                                        m_pDevice->m_nCount);
    UpdateData();
}

// --- Text entry ---------------------------------------------------------------------------

void CMultiDDSTarnView::OnFrequencyChange() {
    if (s_bInFrequencyChange || !m_pControl)
        return;
    s_bInFrequencyChange = true;
    CStepEdit* field = Field(IDC_FREQUENCY);
    const QString text = field->text();
    double value = 0.0;
    // A text that cannot be a number (an exponent, say) plays the default tone and stays as typed.
    if (!CNumberText::IsNumberText(text.toStdString()))
        value = CDeviceControl::kDefaultFrequency;
    else
        CMultiDDSTarnDoc::ParseNumber(text, value);
    // While a knob turns, the text only follows it.
    const double stored =
        m_bKnobBusy ? m_pControl->RememberFrequency(value) : m_pControl->SetFrequency(value);
    field->SetValue(static_cast<float>(stored));
    if (stored != value)
        field->ShowValue();
    s_bInFrequencyChange = false;
    UpdateData();
}

void CMultiDDSTarnView::OnAmplitudeChange() {
    if (s_bInAmplitudeChange || !m_pControl)
        return;
    s_bInAmplitudeChange = true;
    CStepEdit* field = Field(IDC_AMPLITUDE);
    double value = 0.0;
    CMultiDDSTarnDoc::ParseNumber(field->text(), value);
    const double clamped = CDeviceControl::ClampAmplitude(value);
    field->SetValue(static_cast<float>(clamped));
    if (clamped != value)
        field->ShowValue();
    // While a knob turns, the text only follows it.
    if (!m_bKnobBusy)
        m_pControl->SetAmplitude(value);
    s_bInAmplitudeChange = false;
    UpdateData();
}

void CMultiDDSTarnView::OnOffsetChange() {
    if (!m_pControl)
        return;
    CStepEdit* field = Field(IDC_OFFSET);
    double value = 0.0;
    CMultiDDSTarnDoc::ParseNumber(field->text(), value);
    const double stored = m_pControl->SetOffset(value);
    field->SetValue(static_cast<float>(stored));
    if (stored != value)
        field->ShowValue();
    UpdateData();
}

void CMultiDDSTarnView::OnPhaseChange() {
    if (!m_pControl)
        return;
    CStepEdit* field = Field(IDC_PHASE);
    double value = 0.0;
    if (!CMultiDDSTarnDoc::ParseNumber(field->text(), value))
        value = 0.0;
    const double clamped = CDeviceControl::ClampPhase(value);
    field->SetValue(static_cast<float>(clamped));
    if (clamped != value)
        field->ShowValue();
    m_pControl->SetPhase(clamped);
    UpdateData();
}

// --- Spins and knobs ----------------------------------------------------------------------

void CMultiDDSTarnView::OnSpinOffset(int delta) {
    if (!m_pControl)
        return;
    if (delta == 1 || delta == -1)
        Field(IDC_OFFSET)->StepBy(-delta);
    m_pControl->StepOffset(Field(IDC_OFFSET)->GetValue());
    CPanelAccessible::NotifyValue(m_panel.Control(IDC_SPIN_OFFSET));
}

void CMultiDDSTarnView::OnSpinPhase(int delta) {
    if (!m_pControl)
        return;
    if (delta == 1 || delta == -1)
        Field(IDC_PHASE)->StepBy(-delta);
    m_pControl->SetPhase(Field(IDC_PHASE)->GetValue());
    CPanelAccessible::NotifyValue(m_panel.Control(IDC_SPIN_PHASE));
    UpdateData();
}

void CMultiDDSTarnView::OnKnob(int knobId, bool apply) {
    if (!m_pControl)
        return;
    const bool frequency = knobId == IDC_KNOB_FREQUENCY;
    m_bKnobBusy = 1;
    const double angle = m_panel.Get<CTurnButton>(knobId)->GetValue();
    CStepEdit* field = Field(frequency ? IDC_FREQUENCY : IDC_AMPLITUDE);
    field->StepBy(CKnobEncoder::Turn(
        frequency ? CKnobEncoder::ROLE_FREQUENCY : CKnobEncoder::ROLE_AMPLITUDE, angle));
    if (frequency)
        apply ? m_pControl->TurnFrequency(field->GetValue())
              : m_pControl->RememberFrequency(field->GetValue());
    else if (apply)
        m_pControl->TurnAmplitude(field->GetValue());
    CPanelAccessible::NotifyValue(m_panel.Control(knobId));
    UpdateData();
    m_bKnobBusy = 0;
}

// --- Switches and toggles -----------------------------------------------------------------

void CMultiDDSTarnView::OnSwitch(int id) {
    if (!m_pControl)
        return;
    const int on = Switch(id)->GetValue() ? 1 : 0;
    const struct {
        int nSwitch;
        int nLed;
        int (CDeviceControl::*set)(int);
    } kSwitches[] = {
        {IDC_SW_COUNTER, IDC_LED_COUNTER, &CDeviceControl::SetCounterOn},
        {IDC_SW_SINGLE_WAVE, IDC_LED_SINGLE_WAVE, &CDeviceControl::SetSingleWave},
        {IDC_SW_OUTPUT, IDC_LED_OUTPUT, &CDeviceControl::SetOutputOn},
        {IDC_SW_EXT_TRIG, IDC_LED_EXT_TRIG, &CDeviceControl::SetExtTrig},
        {IDC_SW_ATTEN, IDC_LED_ATTEN, &CDeviceControl::SetAtten20dB},
    };
    for (const auto& entry : kSwitches)
        if (entry.nSwitch == id)
            Led(entry.nLed)->SetValue((m_pControl->*entry.set)(on) != 0);
}

void CMultiDDSTarnView::OnMeasureModeClick() {
    // Lever left is the frequency meter (mode 1), right the event counter (mode 0).
    if (m_pControl)
        m_pControl->SetMeasureMode(m_panel.Get<CLeftRight>(IDC_MEASURE_MODE)->GetValue() ? 0 : 1);
    UpdateStateNames();
}

void CMultiDDSTarnView::OnTrigEdgeClick() {
    if (m_pControl)
        m_pControl->SetTrigEdge(m_panel.Get<CLeftRight>(IDC_TRIG_EDGE)->GetValue());
    UpdateStateNames();
}

// --- Wave type ----------------------------------------------------------------------------

void CMultiDDSTarnView::SelectWaveType(int type) {
    if (!m_pControl || !CDeviceControl::IsWaveType(type))
        return;
    CArbHistory* history = m_pDocument->ArbHistory();
    const CArbHistory::Points before = history ? history->Snapshot() : CArbHistory::Points{};
    const CDeviceControl::WaveChange change =
        m_pControl->SelectWaveType(type, m_pDocument->m_bArbFromFile == 1);
    if (change.bForgetFile)
        m_pDocument->m_strFileName = QString::fromLatin1(CMultiDDSTarnDoc::kNoFile);
    // The wave on show captured into the table is a step of its own.
    if (history && type == WAVE_ARB && change.nPrevious != WAVE_ARB && change.bForgetFile)
        history->Record(before, QStringLiteral("Capture"));
    ShowWaveType(change.nPrevious, type);
    if (change.bPhaseReset) {
        Field(IDC_PHASE)->SetValue(0.0f);
        Field(IDC_PHASE)->ShowValue();
    }
    if (change.bFrequencyLowered)
        ShowFrequency();
}

void CMultiDDSTarnView::ShowWaveType(int previous, int type) {
    if (previous != type) {
        Switch(CPanelSync::WaveSwitchId(previous))->SetValue(false);
        m_pSlider->setVisible(type == WAVE_ARB);
        m_pSlider->setEnabled(type == WAVE_ARB);
        SetMaxFrequency();
        Layout();
    }
    Switch(CPanelSync::WaveSwitchId(type))->SetValue(true);
}

void CMultiDDSTarnView::ShowFrequency() {
    if (!m_pDevice)
        return;
    Field(IDC_FREQUENCY)->SetValue(static_cast<float>(m_pDevice->m_dFrequency));
    Field(IDC_FREQUENCY)->ShowValue();
}

// --- Layout and painting ------------------------------------------------------------------

void CMultiDDSTarnView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_bInitDone && width() != 0)
        Layout();
}

void CMultiDDSTarnView::Layout() {
    const QRect group = m_panel.TemplateRect(IDC_GROUP_TOP);
    const bool arb = m_pDevice && m_pDevice->m_nWaveType == WAVE_ARB;
    const CPanelLayout::Result result =
        CPanelLayout::Compute(rect(), group.width(), m_pPanelButton->size(), m_bShowControl, arb);
    m_rcPanel = result.rcPanel;
    m_rcDisplay = result.rcDisplay;
    m_rcSlider = result.rcSlider;
    m_rcFill = result.rcFill;

    m_panel.PlacePanel(m_rcPanel.topLeft(), m_bShowControl);
    m_pDisplay->setGeometry(m_rcDisplay);
    m_pSlider->setGeometry(m_rcSlider);
    m_pSlider->setVisible(result.bSliderVisible);
    m_pPanelButton->setGeometry(result.rcButton);
    update();
}

void CMultiDDSTarnView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(m_rcFill, palette().color(QPalette::Button));
}

void CMultiDDSTarnView::UpdatePanelButton() {
    const QString path = m_bShowControl ? QStringLiteral(":/icons/panel_hide.svg")
                                        : QStringLiteral(":/icons/panel_show.svg");
    if (QFile::exists(path)) {
        m_pPanelButton->setArrowType(Qt::NoArrow);
        m_pPanelButton->setIcon(QIcon(path));
        m_pPanelButton->setIconSize(m_pPanelButton->size());
    } else {
        m_pPanelButton->setArrowType(m_bShowControl ? Qt::RightArrow : Qt::LeftArrow);
    }
}

void CMultiDDSTarnView::OnShowHideControl() {
    m_bShowControl = !m_bShowControl;
    Layout();
    UpdatePanelButton();
    UpdateStateNames();
}

// --- Commands, timer, activation ----------------------------------------------------------

bool CMultiDDSTarnView::OnCommand(int id) {
    if (m_pDisplay->HandleCommand(id))
        return true;
    switch (id) {
    case ID_SHOW_HIDE_CONTROL:
    case IDC_PANEL_BUTTON:
        OnShowHideControl();
        return true;
    case ID_OUTPUT_SET:
        OnOutputSet();
        return true;
    case ID_DIGITAL_INPUT:
        OnDigitalInput();
        return true;
    case ID_SWEEP:
        OnSweep();
        return true;
    default:
        return false;
    }
}

bool CMultiDDSTarnView::OnUpdateCommand(CCmdUI& ui) {
    if (m_pDisplay->UpdateCommand(ui))
        return true;
    if (ui.m_nID == ID_SHOW_HIDE_CONTROL) {
        ui.SetCheck(m_bShowControl != 0);
        return true;
    }
    return false;
}

void CMultiDDSTarnView::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_nTimer)
        OnTimer();
    else
        QWidget::timerEvent(event);
}

void CMultiDDSTarnView::OnTimer() {
    if (s_bFirstTick) {
        s_bFirstTick = false;
        if (CMainFrame* frame = CMainFrame::Get())
            frame->RetextMenuBar();
    }
    if (!m_pDevice)
        return;
    // A remote client may have changed the record since the last tick.
    m_sync.Follow(*m_pControl);
    if (m_nPendingZoom >= 0 && (m_pDevice->m_bDemo != 0 || m_pDevice->CommandsDone())) {
        m_pDevice->m_nZoom = m_nPendingZoom;
        m_pSlider->setValue(qRound(m_fPendingViewPos * float(m_pSlider->maximum())));
        m_nPendingZoom = -1;
    }
    if (m_pDevice->m_nWaveType == WAVE_ARB)
        m_pDisplay->ComputeView(static_cast<float>(m_pSlider->value()) /
                                static_cast<float>(m_pSlider->maximum()));
    m_pDisplay->RefreshIfMoved();
    RefreshCounter();
    UpdateStateNames(); // a remote client may have moved a lever
    // The plan arrives from the worker after a new frequency: follow it at every tick, making
    // the text again only when the frequency played changed.
    const double played =
        m_pControl && m_pDevice->m_bDemo == 0 ? m_pControl->PlayedFrequency() : -1.0;
    const double requested = m_pDevice->m_dFrequency;
    if (played != m_dPlayedShown || requested != m_dRequestedShown) {
        m_dPlayedShown = played;
        m_dRequestedShown = requested;
        m_strPlayed = PlayedText();
        UpdateStepTexts();
    }
}

QString CMultiDDSTarnView::PlayedText() const {
    // A demo record has no unit that plays anything.
    if (!m_pControl || m_pDevice->m_bDemo != 0)
        return QString();
    QString label = CWaveDisplay::LanguageText(IDS_PLAYED_FREQUENCY);
    if (label.isEmpty()) // a language file older than this text
        label = QStringLiteral("Played Frequency");
    return CReportPrinter::PlayedLine(label, m_pControl->PlayedFrequency(),
                                      m_pControl->DeviationPpm());
}

void CMultiDDSTarnView::CaptureWindowSetup(CDeviceSetup& setup) const {
    const auto rgb = [](const QColor& colour) { return std::uint32_t(colour.rgb() & 0xFFFFFF); };
    setup.m_crBack = rgb(m_pDisplay->m_crBack);
    setup.m_crCurve = rgb(m_pDisplay->m_crCurve);
    setup.m_crGrid = rgb(m_pDisplay->m_crGrid);
    setup.m_crCursor = rgb(m_pDisplay->m_crCursor);
    if (m_nPendingZoom >= 0) {
        setup.m_nZoom = m_nPendingZoom;
        setup.m_dViewPos = m_fPendingViewPos;
    }
}

void CMultiDDSTarnView::ApplyWindowSetup(const CDeviceSetup& setup) {
    m_pDisplay->m_crBack = QColor::fromRgb(setup.m_crBack & 0xFFFFFF);
    m_pDisplay->m_crCurve = QColor::fromRgb(setup.m_crCurve & 0xFFFFFF);
    m_pDisplay->m_crGrid = QColor::fromRgb(setup.m_crGrid & 0xFFFFFF);
    m_pDisplay->m_crCursor = QColor::fromRgb(setup.m_crCursor & 0xFFFFFF);
    // The zoom window itself holds the level to what the points allow (CZoomWindow).
    m_nPendingZoom = std::clamp(setup.m_nZoom, 0, kMaxPoints);
    m_fPendingViewPos = static_cast<float>(std::clamp(setup.m_dViewPos, 0.0, 1.0));
    m_pDisplay->update();
}

void CMultiDDSTarnView::RetextWindows() {
    if (CMainFrame* frame = CMainFrame::Get()) {
        frame->ApplyToWindow(this);
        CPanelAccessNames::Apply(m_panel, frame->Language());
    }
    m_nNamedStates = -1; // named again in the new language
    UpdateStateNames();
    m_strPlayed = PlayedText();
    UpdateStepTexts();
    m_dialogs.Retext();
    // Captions may have changed length. This is also the first placing of the panel for a
    // window that already had its size when it was initialised (no resize event follows).
    if (m_bInitDone && width() > 0)
        Layout();
}

void CMultiDDSTarnView::ActivateView() {
    if (CMainFrame* frame = CMainFrame::Get())
        frame->SelectTab(m_pDocument->m_nIndex);
}
