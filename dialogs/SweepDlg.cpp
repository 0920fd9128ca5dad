#include "dialogs/SweepDlg.h"

#include "control/DeviceControl.h"
#include "dialogs/AccessName.h"
#include "i18n/LanguageManager.h"
#include "i18n/ParseNumber.h"
#include "res/Resource.h"
#include "widgets/LED.h"
#include "widgets/TurnButton.h"
#include "widgets/WindowTexts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimerEvent>

std::array<double, 4> CSweepDlg::s_dKnobAngles{};

namespace {

constexpr struct {
    int nEdit;
    int nKnob;
    int nTitle;
    const char* szUnit;
} kFields[] = {
    {IDC_SWEEP_START, IDC_KNOB_SWEEP_START, IDC_TXT_SWEEP_START, "Hz"},
    {IDC_SWEEP_END, IDC_KNOB_SWEEP_END, IDC_TXT_SWEEP_END, "Hz"},
    {IDC_SWEEP_SPEED, IDC_KNOB_SWEEP_SPEED, IDC_TXT_SWEEP_SPEED, "ms"},
    {IDC_SWEEP_STEP, IDC_KNOB_SWEEP_STEP, IDC_TXT_SWEEP_STEP, "Hz"},
};
constexpr const char* kTitles[] = {"Start Frequency", "End Frequency", "Speed", "Step"};

double ParsedText(const QLineEdit* edit) {
    double value = 0.0;
    ParseNumber(edit->text().toStdString(), value); // a malformed text counts as what it gave
    return value;
}

} // namespace

CSweepDlg::CSweepDlg(CDeviceControl& control, const CLanguageManager& language, QWidget* parent)
    : QDialog(parent), m_control(control), m_device(control.Device()), m_pLanguage(&language),
      m_pOnOff(new QPushButton(this)), m_pLed(new CLED(this)) {
    setProperty("ctrlId", IDD_SWEEP);
    auto* layout = new QGridLayout(this);
    for (int i = 0; i < 4; ++i) {
        const auto field = static_cast<CSweepRules::Field>(i);
        auto* group = new QGroupBox(QString::fromLatin1(kTitles[i]), this);
        group->setProperty("ctrlId", kFields[i].nTitle);
        m_knobs[i] = new CTurnButton(group);
        m_knobs[i]->setFixedSize(64, 64);
        m_knobs[i]->SetValue(s_dKnobAngles[i]);
        m_edits[i] = new QLineEdit(group);
        m_edits[i]->setMaximumWidth(90);
        auto* row = new QHBoxLayout(group);
        row->addWidget(m_knobs[i]);
        row->addWidget(m_edits[i]);
        row->addWidget(new QLabel(QString::fromLatin1(kFields[i].szUnit), group));
        layout->addWidget(group, i / 2, i % 2);

        connect(m_edits[i], &QLineEdit::textChanged, this, [this, field] { OnEditChanged(field); });
        for (auto signal :
             {&CTurnButton::MouseDown, &CTurnButton::MouseMove, &CTurnButton::MouseUp})
            connect(m_knobs[i], signal, this, [this, field] { OnKnob(field); });
    }
    m_pLed->setFixedSize(16, 16);
    m_pOnOff->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_pLed);
    buttons->addWidget(m_pOnOff);
    layout->addLayout(buttons, 2, 0, 1, 2);
    connect(m_pOnOff, &QPushButton::clicked, this, &CSweepDlg::OnOnOff);

    // A dialog always opens stopped.
    m_device.m_bSweepOn = 0;
    m_pLed->SetValue(false);
    Retext(language);
    ShowFields();
}

CSweepDlg::~CSweepDlg() {
    if (m_device.m_bSweepOn != 0) {
        m_device.m_bSweepOn = 0;
        m_control.ReturnToLastFrequency();
    }
}

void CSweepDlg::Retext(const CLanguageManager& language) {
    m_pLanguage = &language;
    CWindowTexts::ApplyToWindow(this, language);
    for (CTurnButton* knob : m_knobs) {
        auto* group = static_cast<QGroupBox*>(knob->parentWidget());
        CAccessName::Apply(knob, IDS_ACCESS_KNOB, CAccessName::Caption(group->title()), language);
    }
    // The lamp shows whether this dialog sweeps.
    CAccessName::Apply(m_pLed, IDS_ACCESS_LAMP,
                       QString::fromUtf8(language.GetText(IDD_SWEEP).c_str()), language);
    ShowButtonText();
}

void CSweepDlg::ShowButtonText() {
    const bool on = m_device.m_bSweepOn != 0;
    m_pOnOff->setText(QString::fromUtf8(m_pLanguage->GetText(on ? IDS_OFF : IDS_ON).c_str()));
    // The caption says what a press does; a screen reader hears a "Sweep" toggle that is
    // pressed while the sweep runs.
    m_pOnOff->setCheckable(true);
    m_pOnOff->setChecked(on);
    m_pOnOff->setAccessibleName(QString::fromUtf8(m_pLanguage->GetText(IDD_SWEEP).c_str()));
}

void CSweepDlg::ShowValue(CSweepRules::Field field, double value) {
    m_bShowing = true;
    m_edits[field]->setText(QString::asprintf("%.0f", value));
    m_bShowing = false;
}

void CSweepDlg::ShowFields() {
    ShowValue(CSweepRules::FIELD_START, m_device.m_dSweepStart);
    ShowValue(CSweepRules::FIELD_END, m_device.m_dSweepEnd);
    ShowValue(CSweepRules::FIELD_SPEED, m_device.m_nSweepSpeed);
    ShowValue(CSweepRules::FIELD_STEP, m_device.m_dSweepStep);
}

// Text the dialog writes itself (opening, a tick, ON/OFF, a knob, this write-back) is shown,
// never read and stored again: a knob's own limits hold, and a write-back stays as shown.
void CSweepDlg::OnEditChanged(CSweepRules::Field field) {
    if (m_bShowing)
        return;
    const double typed = ParsedText(m_edits[field]);
    const double shown = CSweepRules::Limit(m_device, field, typed);
    CSweepRules::Enter(m_device, field, typed); // the speed is kept in whole milliseconds
    ShowValue(field, shown);
}

void CSweepDlg::OnKnob(CSweepRules::Field field) {
    // The settings are fixed while sweeping; the knob's angle counts from where it was seen
    // last once the sweep stops.
    if (m_device.m_bSweepOn != 0)
        return;
    double& previous = s_dKnobAngles[field];
    const double delta = CSweepRules::KnobDelta(m_knobs[field]->GetValue(), previous);
    ShowValue(field, CSweepRules::Turn(m_device, field, delta));
}

void CSweepDlg::OnOnOff() {
    const double start = ParsedText(m_edits[CSweepRules::FIELD_START]);
    const double end = std::max(ParsedText(m_edits[CSweepRules::FIELD_END]), start);
    ShowValue(CSweepRules::FIELD_START, start);
    ShowValue(CSweepRules::FIELD_END, end);
    m_device.m_dSweepFreq = start;
    m_device.m_dSweepStart = start;
    m_device.m_dSweepEnd = end;
    m_device.m_bSweepOn = m_device.m_bSweepOn != 0 ? 0 : 1;
    ApplyState();
}

void CSweepDlg::ApplyState() {
    const bool running = m_device.m_bSweepOn != 0;
    ShowButtonText();
    for (QLineEdit* edit : m_edits)
        edit->setEnabled(!running);
    if (running) {
        m_device.DeviceStep();
        m_timer.start(m_device.m_nSweepSpeed, this);
    } else {
        m_timer.stop();
        m_control.ReturnToLastFrequency();
    }
    m_pLed->SetValue(running);
}

void CSweepDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_timer.timerId())
        OnTimer();
    else
        QDialog::timerEvent(event);
}

void CSweepDlg::OnTimer() {
    ShowFields();
    m_device.SweepTick();
}

void CSweepDlg::reject() {
    // Stopped however it stood: the output returns to the frequency entered.
    m_device.m_bSweepOn = 0;
    ApplyState();
    QDialog::reject();
}
