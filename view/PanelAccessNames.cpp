#include "view/PanelAccessNames.h"

#include "dialogs/AccessName.h"
#include "i18n/LanguageManager.h"
#include "res/Resource.h"
#include "view/PanelControls.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QWidget>

namespace {

/// A control and the caption that names it; kind is the language text that makes the name
/// ("%s knob"), 0 for the caption alone.
struct NamedControl {
    int nId;
    int nCaption;
    int nKind;
};

constexpr NamedControl kNamed[] = {
    {IDC_WAVE_RAMP, IDC_TXT_RAMP, IDS_ACCESS_SWITCH},
    {IDC_WAVE_TRAPEZIA, IDC_TXT_TRAPEZIA, IDS_ACCESS_SWITCH},
    {IDC_WAVE_EXPONENT, IDC_TXT_EXPONENT, IDS_ACCESS_SWITCH},
    {IDC_WAVE_SQUARE, IDC_TXT_SQUARE, IDS_ACCESS_SWITCH},
    {IDC_WAVE_ARB, IDC_TXT_ARB, IDS_ACCESS_SWITCH},
    {IDC_WAVE_GAUSS_NOISE, IDC_TXT_GAUSS_NOISE, IDS_ACCESS_SWITCH},
    {IDC_WAVE_SINE, IDC_TXT_SINE, IDS_ACCESS_SWITCH},
    {IDC_WAVE_AMFM, IDC_TXT_AMFM, IDS_ACCESS_SWITCH},
    {IDC_WAVE_WHITE_NOISE, IDC_TXT_WHITE_NOISE, IDS_ACCESS_SWITCH},
    {IDC_SW_COUNTER, IDC_TXT_COUNTER, IDS_ACCESS_SWITCH},
    {IDC_SW_SINGLE_WAVE, IDC_TXT_SINGLE_WAVE, IDS_ACCESS_SWITCH},
    {IDC_SW_ATTEN, IDC_TXT_ATTEN, IDS_ACCESS_SWITCH},
    {IDC_SW_EXT_TRIG, IDC_TXT_EXT_TRIG, IDS_ACCESS_SWITCH},
    {IDC_SW_OUTPUT, IDC_TXT_OUTPUT, IDS_ACCESS_SWITCH},
    {IDC_LED_COUNTER, IDC_TXT_COUNTER, IDS_ACCESS_LAMP},
    {IDC_LED_SINGLE_WAVE, IDC_TXT_SINGLE_WAVE, IDS_ACCESS_LAMP},
    {IDC_LED_ATTEN, IDC_TXT_ATTEN, IDS_ACCESS_LAMP},
    {IDC_LED_EXT_TRIG, IDC_TXT_EXT_TRIG, IDS_ACCESS_LAMP},
    {IDC_LED_OUTPUT, IDC_TXT_OUTPUT, IDS_ACCESS_LAMP},
    {IDC_KNOB_FREQUENCY, IDC_TXT_FREQUENCY, IDS_ACCESS_KNOB},
    {IDC_KNOB_AMPLITUDE, IDC_TXT_AMPLITUDE, IDS_ACCESS_KNOB},
    {IDC_TRIG_EDGE, IDC_TXT_TRIG_MODE, IDS_ACCESS_LEVER},
    {IDC_FREQUENCY, IDC_TXT_FREQUENCY, IDS_ACCESS_FIELD_HZ},
    {IDC_AMPLITUDE, IDC_TXT_AMPLITUDE, IDS_ACCESS_FIELD_V},
    {IDC_OFFSET, IDC_TXT_OFFSET, IDS_ACCESS_FIELD_V},
    {IDC_PHASE, IDC_TXT_PHASE, IDS_ACCESS_FIELD_PERIOD},
    {IDC_SPIN_OFFSET, IDC_TXT_OFFSET, IDS_ACCESS_FIELD_V},
    {IDC_SPIN_PHASE, IDC_TXT_PHASE, IDS_ACCESS_FIELD_PERIOD},
};

/// The nine wave switches: only one is ever on, so a reader hears them as radio buttons.
constexpr int kWaveSwitches[] = {IDC_WAVE_SINE,     IDC_WAVE_SQUARE,      IDC_WAVE_RAMP,
                                 IDC_WAVE_TRAPEZIA, IDC_WAVE_EXPONENT,    IDC_WAVE_AMFM,
                                 IDC_WAVE_ARB,      IDC_WAVE_GAUSS_NOISE, IDC_WAVE_WHITE_NOISE};

QString Text(const CLanguageManager& language, int id) {
    return QString::fromUtf8(language.GetText(id).c_str());
}

/// A caption as shown, without its mnemonic marks.
QString Caption(const CPanelControls& panel, int id) {
    auto* label = qobject_cast<QLabel*>(panel.Control(id));
    return label ? label->text().remove(QLatin1Char('&')).trimmed() : QString();
}

/// The two captions either side of a lever: where it points says its state. The name says it
/// too, as a reader speaks only "checked" for a check box.
void NameLever(QWidget* lever, const QString& name, const QString& left, const QString& right) {
    lever->setProperty("leverName", name);
    lever->setProperty("valueTexts", QStringList{left, right});
}

void NamePosition(QWidget* lever, const CLanguageManager& language) {
    const QStringList words = lever->property("valueTexts").toStringList();
    auto* button = qobject_cast<QAbstractButton*>(lever);
    if (words.size() != 2 || button == nullptr)
        return;
    QString name = Text(language, IDS_ACCESS_POSITION);
    name.replace(name.indexOf(QStringLiteral("%s")), 2, lever->property("leverName").toString());
    name.replace(name.indexOf(QStringLiteral("%s")), 2, words[button->isChecked() ? 1 : 0]);
    lever->setAccessibleName(name);
}

} // namespace

void CPanelAccessNames::Apply(const CPanelControls& panel, const CLanguageManager& language) {
    // Roles before names: naming may already make the reader's interface.
    for (int id : kWaveSwitches)
        if (QWidget* control = panel.Control(id))
            control->setProperty("accessibleRole", int(QAccessible::RadioButton));
    for (const NamedControl& named : kNamed) {
        if (QWidget* control = panel.Control(named.nId))
            CAccessName::Apply(control, named.nKind, Caption(panel, named.nCaption), language);
    }
    const QString f = Caption(panel, IDC_TXT_F), c = Caption(panel, IDC_TXT_C);
    if (QWidget* mode = panel.Control(IDC_MEASURE_MODE))
        NameLever(mode, CAccessName::Compose(IDS_ACCESS_LEVER, f + '/' + c, language), f, c);
    if (QWidget* edge = panel.Control(IDC_TRIG_EDGE))
        NameLever(edge, edge->accessibleName(), Caption(panel, IDC_TXT_FALL),
                  Caption(panel, IDC_TXT_RAISE));
    if (QWidget* display = panel.Control(IDC_WAVE_DISPLAY)) {
        display->setProperty("accessibleRole", int(QAccessible::Chart));
        display->setAccessibleName(Text(language, IDS_ACCESS_DISPLAY));
    }
    if (QWidget* slider = panel.Control(IDC_VIEW_SLIDER))
        slider->setAccessibleName(Text(language, IDS_ACCESS_VIEW_SLIDER));
    ApplyStates(panel, language);
}

void CPanelAccessNames::ApplyStates(const CPanelControls& panel, const CLanguageManager& language) {
    for (int id : {IDC_MEASURE_MODE, IDC_TRIG_EDGE})
        if (QWidget* lever = panel.Control(id))
            NamePosition(lever, language);
    // Lever right is the event counter, left the frequency meter.
    auto* mode = qobject_cast<QAbstractButton*>(panel.Control(IDC_MEASURE_MODE));
    if (QWidget* counter = panel.Control(IDC_COUNTER); counter && mode)
        counter->setAccessibleName(
            Text(language, mode->isChecked() ? IDS_ACCESS_COUNT : IDS_ACCESS_MEASURE));
    // The arrow hides a shown panel and shows a hidden one.
    QWidget* field = panel.Control(IDC_FREQUENCY);
    if (QWidget* button = panel.Control(IDC_PANEL_BUTTON); button && field)
        button->setAccessibleName(
            Text(language, field->isHidden() ? IDS_ACCESS_SHOW_PANEL : IDS_ACCESS_HIDE_PANEL));
}
