#include "view/PanelTemplate.h"

#include "res/Resource.h"

#include <QFontMetrics>

#include <array>

namespace {

using C = CPanelTemplate;

const std::array kControls{
    C::Control{IDC_WAVE_DISPLAY, C::KIND_DISPLAY, "", 0, 0, 347, 207},
    C::Control{IDC_VIEW_SLIDER, C::KIND_SLIDER, "", 1, 219, 348, 14},
    C::Control{IDC_MEASURE_MODE, C::KIND_TOGGLE, "", 466, 54, 20, 10},
    C::Control{IDC_TXT_F, C::KIND_STATIC, "F", 453, 68, 22, 8},
    C::Control{IDC_TXT_C, C::KIND_STATIC, "C", 475, 68, 25, 8},
    C::Control{IDC_COUNTER, C::KIND_COUNTER, "", 502, 62, 49, 15},
    C::Control{IDC_TXT_RAMP, C::KIND_STATIC, "Ramp", 452, 89, 24, 9},
    C::Control{IDC_WAVE_TRAPEZIA, C::KIND_SWITCH, "", 485, 101, 21, 15},
    C::Control{IDC_TXT_TRAPEZIA, C::KIND_STATIC, "Trapezia", 479, 89, 32, 9},
    C::Control{IDC_WAVE_EXPONENT, C::KIND_SWITCH, "", 516, 101, 22, 15},
    C::Control{IDC_TXT_EXPONENT, C::KIND_STATIC, "Exponent", 511, 89, 34, 9},
    C::Control{IDC_WAVE_SQUARE, C::KIND_SWITCH, "", 455, 130, 22, 15},
    C::Control{IDC_TXT_SQUARE, C::KIND_STATIC, "Square", 449, 119, 29, 9},
    C::Control{IDC_WAVE_ARB, C::KIND_SWITCH, "", 485, 130, 22, 15},
    C::Control{IDC_TXT_ARB, C::KIND_STATIC, "Arb", 481, 119, 27, 9},
    C::Control{IDC_WAVE_GAUSS_NOISE, C::KIND_SWITCH, "", 517, 130, 22, 15},
    C::Control{IDC_TXT_GAUSS_NOISE, C::KIND_STATIC, "GaussNoise", 506, 119, 46, 9},
    C::Control{IDC_WAVE_SINE, C::KIND_SWITCH, "", 455, 162, 22, 15},
    C::Control{IDC_TXT_SINE, C::KIND_STATIC, "Sine", 453, 149, 24, 9},
    C::Control{IDC_WAVE_AMFM, C::KIND_SWITCH, "", 486, 162, 22, 15},
    C::Control{IDC_TXT_AMFM, C::KIND_STATIC, "AM/FM", 481, 149, 28, 9},
    C::Control{IDC_WAVE_WHITE_NOISE, C::KIND_SWITCH, "", 518, 162, 23, 15},
    C::Control{IDC_TXT_WHITE_NOISE, C::KIND_STATIC, "WhiteNoise", 507, 149, 45, 9},
    C::Control{IDC_LED_COUNTER, C::KIND_LED, "", 555, 66, 9, 10},
    C::Control{IDC_SW_COUNTER, C::KIND_SWITCH, "", 567, 63, 23, 15},
    C::Control{IDC_TXT_COUNTER, C::KIND_STATIC, "F/C ON/OFF", 538, 51, 54, 9},
    C::Control{IDC_LED_SINGLE_WAVE, C::KIND_LED, "", 556, 104, 9, 10},
    C::Control{IDC_SW_SINGLE_WAVE, C::KIND_SWITCH, "", 570, 102, 22, 15},
    C::Control{IDC_TXT_SINGLE_WAVE, C::KIND_STATIC, "Single Wave", 549, 90, 44, 9},
    C::Control{IDC_LED_OUTPUT, C::KIND_LED, "", 556, 196, 9, 10},
    C::Control{IDC_SW_OUTPUT, C::KIND_SWITCH, "", 570, 193, 23, 15},
    C::Control{IDC_TXT_OUTPUT, C::KIND_STATIC, "Wave ON/OFF", 548, 183, 45, 9},
    C::Control{IDC_LED_EXT_TRIG, C::KIND_LED, "", 556, 165, 9, 10},
    C::Control{IDC_SW_EXT_TRIG, C::KIND_SWITCH, "", 570, 161, 23, 15},
    C::Control{IDC_TXT_EXT_TRIG, C::KIND_STATIC, "Ext Trig", 551, 150, 40, 9},
    C::Control{IDC_LED_ATTEN, C::KIND_LED, "", 556, 132, 9, 10},
    C::Control{IDC_SW_ATTEN, C::KIND_SWITCH, "", 570, 130, 23, 15},
    C::Control{IDC_TXT_ATTEN, C::KIND_STATIC, "-20dB", 553, 119, 38, 9},
    C::Control{IDC_TXT_FREQUENCY, C::KIND_STATIC, "Frequency", 457, 261, 49, 9},
    C::Control{IDC_FREQUENCY, C::KIND_FIELD, "", 454, 272, 52, 15},
    C::Control{IDC_TXT_FREQUENCY_UNIT, C::KIND_STATIC, "Hz", 509, 276, 9, 9},
    C::Control{IDC_TXT_AMPLITUDE, C::KIND_STATIC, "Amplitude", 526, 261, 50, 9},
    C::Control{IDC_AMPLITUDE, C::KIND_FIELD, "", 525, 272, 51, 15},
    C::Control{IDC_TXT_AMPLITUDE_UNIT, C::KIND_STATIC, "V", 580, 275, 7, 9},
    C::Control{IDC_KNOB_FREQUENCY, C::KIND_KNOB, "", 459, 290, 51, 59},
    C::Control{IDC_KNOB_AMPLITUDE, C::KIND_KNOB, "", 529, 290, 50, 59},
    C::Control{IDC_TXT_OFFSET, C::KIND_STATIC, "Y Offset", 527, 222, 47, 9},
    C::Control{IDC_OFFSET, C::KIND_FIELD, "", 524, 234, 50, 15},
    C::Control{IDC_SPIN_OFFSET, C::KIND_SPIN, "", 574, 235, 11, 14},
    C::Control{IDC_TXT_OFFSET_UNIT, C::KIND_STATIC, "V", 587, 239, 9, 10},
    C::Control{IDC_TXT_TRIG_MODE, C::KIND_STATIC, "Ext Trig Mode", 469, 185, 57, 9},
    C::Control{IDC_TRIG_EDGE, C::KIND_TOGGLE, "", 486, 196, 21, 11},
    C::Control{IDC_TXT_RAISE, C::KIND_STATIC, "Raise", 509, 197, 30, 9},
    C::Control{IDC_TXT_FALL, C::KIND_STATIC, "Fall", 454, 197, 28, 9},
    C::Control{IDC_WAVE_RAMP, C::KIND_SWITCH, "", 455, 101, 23, 15},
    C::Control{IDC_GROUP_FUNCTIONS, C::KIND_GROUP, "", 450, 81, 99, 100},
    C::Control{IDC_GROUP_ENTRY, C::KIND_GROUP, "", 450, 211, 144, 143},
    C::Control{IDC_GROUP_TOP, C::KIND_GROUP, "", 450, 44, 145, 36},
    C::Control{IDC_PANEL_BUTTON, C::KIND_PANEL_BUTTON, "", 441, 170, 6, 44},
    C::Control{IDC_PHASE, C::KIND_FIELD, "", 454, 234, 46, 15},
    C::Control{IDC_TXT_PHASE, C::KIND_STATIC, "Phase", 457, 221, 43, 9},
    C::Control{IDC_SPIN_PHASE, C::KIND_SPIN, "", 500, 235, 11, 14},
};

} // namespace

std::span<const CPanelTemplate::Control> CPanelTemplate::Controls() {
    return kControls;
}

const CPanelTemplate::Control* CPanelTemplate::Find(int id) {
    for (const Control& control : kControls)
        if (control.nId == id)
            return &control;
    return nullptr;
}

QFont CPanelTemplate::FormFont(const QFont& base) {
    QFont font(base);
    font.setPointSize(8);
    return font;
}

QSize CPanelTemplate::BaseUnits(const QFont& font) {
    // The average width is taken over the 52 letters, as dialog units are defined.
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return QSize((letters / 26 + 1) / 2, metrics.height());
}

QRect CPanelTemplate::ToPixels(int x, int y, int cx, int cy, QSize baseUnits) {
    const int left = x * baseUnits.width() / 4;
    const int right = (x + cx) * baseUnits.width() / 4;
    const int top = y * baseUnits.height() / 8;
    const int bottom = (y + cy) * baseUnits.height() / 8;
    return QRect(left, top, right - left, bottom - top);
}
