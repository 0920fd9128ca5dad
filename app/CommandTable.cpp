#include "app/CommandTable.h"

#include "res/Resource.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr int kSeparator = CCommandTable::kSeparator;
constexpr int kDropDown = CCommandTable::kDropDown;

const SMenuEntry kMainMenu[] = {
    {0, kDropDown, "&File"},
    {1, ID_FILE_NEW, "&New Device\tCtrl+N"},
    {1, ID_FILE_CLOSE, "&Close Device"},
    {1, kSeparator, ""},
    {1, ID_FILE_OPEN, "&Open...\tCtrl+O"},
    {1, ID_FILE_SAVE, "&Save\tCtrl+S"},
    {1, ID_FILE_SAVE_AS, "Save &As..."},
    {1, kSeparator, ""},
    {1, ID_FILE_PRINT, "&Print...\tCtrl+P"},
    {1, ID_FILE_PRINT_PREVIEW, "Print Pre&view"},
    {1, ID_FILE_PRINT_SETUP, "P&rint Setup..."},
    {1, kSeparator, ""},
    {1, ID_APP_EXIT, "E&xit"},
    {0, kDropDown, "&Edit"},
    {1, ID_POINTS_EDIT, "Points Edit"},
    {1, ID_ZOOM_OUT, "Zoom Out"},
    {1, ID_ZOOM_IN, "Zoom In"},
    {1, kSeparator, ""},
    {1, ID_ARB_UNDO, "Undo\tCtrl+Z"},
    {1, ID_ARB_REDO, "Redo\tCtrl+Y"},
    {1, kSeparator, ""},
    {1, ID_IMPORT_WAVEFORM, "Import Waveform..."},
    {1, ID_EXPORT_WAVEFORM, "Export Waveform..."},
    {0, kDropDown, "Wave Parameter"},
    {1, ID_WAVE_SQUARE, "Square"},
    {1, ID_WAVE_RAMP, "Ramp"},
    {1, ID_WAVE_TRAPEZIA, "Trapezia"},
    {1, ID_WAVE_EXPONENT, "Exponent"},
    {1, ID_WAVE_AMFM, "AM/FM"},
    {0, kDropDown, "Digital IO"},
    {1, ID_PATTERN_GENERATOR, "Pattern Generator"},
    {1, kSeparator, ""},
    {1, ID_PROGRAMMABLE_OUTPUT, "Programmable Output"},
    {1, ID_OUTPUT_SET, "Output Set"},
    {1, kSeparator, ""},
    {1, ID_DIGITAL_INPUT, "Digital Input"},
    {0, kDropDown, "Display"},
    {1, ID_BACKGROUND_COLOR, "Background Color"},
    {1, ID_XY_LINE_COLOR, "XY Line Color"},
    {1, ID_CURVE_COLOR, "Curve Color"},
    {1, ID_CURSOR_COLOR, "Cursor Color"},
    {1, kSeparator, ""},
    {1, ID_PERIOD_NUMBER, "Wave Number"},
    {1, ID_SHOW_HIDE_CONTROL, "Show/Hide Control"},
    {0, kDropDown, "&Utility"},
    {1, ID_SWEEP, "Sweep"},
    {1, ID_POWER_ON_OUTPUT_OPEN, "Open waveform output when Power On "},
    {1, ID_POWER_ON_OUTPUT_CLOSE, "Close waveform output when Power On"},
    {1, kSeparator, ""},
    {1, kDropDown, "Language"},
    {2, ID_LANGUAGE_DEFAULT, "Default"},
    {2, kSeparator, ""},
    {1, ID_REMOTE_CONTROL, "Remote Control..."},
    {1, kSeparator, ""},
    {1, ID_SAVE_SETUP, "Save Setup..."},
    {1, ID_OPEN_SETUP, "Open Setup..."},
    {0, kDropDown, "&Window"},
    {1, ID_WINDOW_CASCADE, "&Cascade"},
    {1, ID_WINDOW_TILE, "&Tile"},
    {0, kDropDown, "&Help"},
    {1, ID_HELP_CONTENT, "Help Content(&H)"},
    {1, kSeparator, ""},
    {1, ID_APP_ABOUT, "&About DDS-Tarn USB..."},
};

/// Main toolbar 133, in button order (0 = separator).
const int kMainToolbar[] = {ID_FILE_NEW, ID_FILE_OPEN,    ID_FILE_SAVE,     ID_FILE_PRINT,
                            kSeparator,  ID_EDIT_COPY,    ID_ZOOM_OUT,      ID_ZOOM_IN,
                            kSeparator,  ID_HELP_CONTENT, ID_TOOLBAR_UNUSED};

/// Commands that exist only with a device (its view or its document handles them).
const int kDeviceCommands[] = {ID_FILE_CLOSE,
                               ID_FILE_OPEN,
                               ID_FILE_SAVE,
                               ID_FILE_SAVE_AS,
                               ID_FILE_PRINT,
                               ID_FILE_PRINT_DIRECT,
                               ID_FILE_PRINT_PREVIEW,
                               ID_EDIT_COPY,
                               ID_POINTS_EDIT,
                               ID_ZOOM_OUT,
                               ID_ZOOM_IN,
                               ID_WAVE_SQUARE,
                               ID_WAVE_RAMP,
                               ID_WAVE_TRAPEZIA,
                               ID_WAVE_EXPONENT,
                               ID_WAVE_AMFM,
                               ID_PATTERN_GENERATOR,
                               ID_PROGRAMMABLE_OUTPUT,
                               ID_OUTPUT_SET,
                               ID_DIGITAL_INPUT,
                               ID_BACKGROUND_COLOR,
                               ID_XY_LINE_COLOR,
                               ID_CURVE_COLOR,
                               ID_CURSOR_COLOR,
                               ID_PERIOD_NUMBER,
                               ID_SHOW_HIDE_CONTROL,
                               ID_SWEEP,
                               ID_POWER_ON_OUTPUT_OPEN,
                               ID_POWER_ON_OUTPUT_CLOSE,
                               ID_CLOSE_CURRENT_DEVICE,
                               ID_SAVE_SETUP,
                               ID_OPEN_SETUP,
                               ID_ARB_UNDO,
                               ID_ARB_REDO,
                               ID_IMPORT_WAVEFORM,
                               ID_EXPORT_WAVEFORM};

/// Commands the frame or the application always answers.
const int kFrameCommands[] = {ID_FILE_NEW,  ID_FILE_PRINT_SETUP, ID_APP_EXIT,
                              ID_APP_ABOUT, ID_REMOTE_CONTROL,   ID_HELP_CONTENT};

/// Items the menu template grays; their update rules enable one at a time.
const int kInitiallyGrayed[] = {ID_POINTS_EDIT,   ID_WAVE_SQUARE, ID_WAVE_RAMP, ID_WAVE_TRAPEZIA,
                                ID_WAVE_EXPONENT, ID_WAVE_AMFM,   ID_ARB_UNDO,  ID_ARB_REDO};

} // namespace

QString CCommandTable::IconPath(int id) {
    switch (id) {
    case ID_FILE_NEW:
        return QStringLiteral(":/icons/new.svg");
    case ID_FILE_OPEN:
        return QStringLiteral(":/icons/open.svg");
    case ID_FILE_SAVE:
        return QStringLiteral(":/icons/save.svg");
    case ID_FILE_PRINT:
        return QStringLiteral(":/icons/print.svg");
    case ID_EDIT_COPY:
        return QStringLiteral(":/icons/copy.svg");
    case ID_ZOOM_OUT:
        return QStringLiteral(":/icons/zoom_out.svg");
    case ID_ZOOM_IN:
        return QStringLiteral(":/icons/zoom_in.svg");
    case ID_HELP_CONTENT:
        return QStringLiteral(":/icons/help.svg");
    case ID_CLOSE_CURRENT_DEVICE:
        return QStringLiteral(":/icons/close_tab.svg");
    case ID_TOOLBAR_UNUSED:
        return QStringLiteral(":/icons/context_help.svg");
    default:
        return QString();
    }
}

QList<QKeySequence> CCommandTable::Shortcuts(int id) {
    switch (id) {
    case ID_FILE_NEW:
        return {QKeySequence(Qt::CTRL | Qt::Key_N)};
    case ID_FILE_OPEN:
        return {QKeySequence(Qt::CTRL | Qt::Key_O)};
    case ID_FILE_SAVE:
        return {QKeySequence(Qt::CTRL | Qt::Key_S)};
    case ID_FILE_PRINT:
        return {QKeySequence(Qt::CTRL | Qt::Key_P)};
    case ID_EDIT_COPY:
        return {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)};
    case ID_ARB_UNDO:
        return {QKeySequence(Qt::CTRL | Qt::Key_Z)};
    // The desktop's own keys for leaving a program and for its manual.
    case ID_APP_EXIT:
        return {QKeySequence(Qt::CTRL | Qt::Key_Q)};
    case ID_HELP_CONTENT:
        return {QKeySequence(Qt::Key_F1)};
    case ID_ARB_REDO:
        return {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
    default:
        return {};
    }
}

std::span<const SMenuEntry> CCommandTable::MainMenu() {
    return kMainMenu;
}

std::span<const int> CCommandTable::MainToolbar() {
    return kMainToolbar;
}

bool CCommandTable::IsDeviceCommand(int id) {
    return std::find(std::begin(kDeviceCommands), std::end(kDeviceCommands), id) !=
           std::end(kDeviceCommands);
}

bool CCommandTable::IsFrameCommand(int id) {
    return std::find(std::begin(kFrameCommands), std::end(kFrameCommands), id) !=
           std::end(kFrameCommands);
}

bool CCommandTable::IsInitiallyGrayed(int id) {
    return std::find(std::begin(kInitiallyGrayed), std::end(kInitiallyGrayed), id) !=
           std::end(kInitiallyGrayed);
}
