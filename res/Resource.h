#pragma once
// Command, control, template and text ids. They key the language texts (tooltips by command id,
// controls by control id, dialog captions by template id), so they keep these numbers.

// Dialog templates (caption text = template id)
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDD_MULTIDDSTARN_FORM = 101;
constexpr int IDD_DIGITAL_OUT = 134;
constexpr int IDD_POINTS_EDIT = 135;
constexpr int IDD_SWEEP = 139;
constexpr int IDD_DEVICE_LIST = 142;
constexpr int IDD_DIGITAL_IN = 145;
constexpr int IDD_SQUARE = 136;
constexpr int IDD_RAMP = 138;
constexpr int IDD_AMFM = 140;
constexpr int IDD_TRAPEZIA = 141;
constexpr int IDD_PERIOD_NUMBER = 143;
constexpr int IDD_EXPONENT = 144;

// Menus and toolbars
constexpr int IDR_MAINFRAME = 128;
constexpr int IDR_MAINTOOLBAR = 133;
constexpr int IDR_TABBAR = 140; ///< Second toolbar and the tab popup menu.

// File
constexpr int ID_FILE_NEW = 57600;
constexpr int ID_FILE_OPEN = 57601;
constexpr int ID_FILE_CLOSE = 57602;
constexpr int ID_FILE_SAVE = 57603;
constexpr int ID_FILE_SAVE_AS = 57604;
constexpr int ID_FILE_PRINT_SETUP = 57606;
constexpr int ID_FILE_PRINT = 57607;
constexpr int ID_FILE_PRINT_DIRECT = 57608;
constexpr int ID_FILE_PRINT_PREVIEW = 57609;
constexpr int ID_APP_EXIT = 57665;
// Edit
constexpr int ID_EDIT_COPY = 57634;
constexpr int ID_POINTS_EDIT = 32771;
constexpr int ID_ZOOM_OUT = 32797;
constexpr int ID_ZOOM_IN = 32798;
// Wave Parameter
constexpr int ID_WAVE_SQUARE = 32773;
constexpr int ID_WAVE_RAMP = 32774;
constexpr int ID_WAVE_TRAPEZIA = 32775;
constexpr int ID_WAVE_EXPONENT = 32776;
constexpr int ID_WAVE_AMFM = 32777;
// Digital IO
constexpr int ID_PATTERN_GENERATOR = 32785;
constexpr int ID_PROGRAMMABLE_OUTPUT = 32786;
constexpr int ID_OUTPUT_SET = 32778;
constexpr int ID_DIGITAL_INPUT = 32803;
// Display
constexpr int ID_BACKGROUND_COLOR = 32780;
constexpr int ID_XY_LINE_COLOR = 32781;
constexpr int ID_CURVE_COLOR = 32782;
constexpr int ID_CURSOR_COLOR = 32783;
constexpr int ID_PERIOD_NUMBER = 32784;
constexpr int ID_SHOW_HIDE_CONTROL = 32787;
// Utility
constexpr int ID_SWEEP = 32779;
constexpr int ID_POWER_ON_OUTPUT_OPEN = 32793;
constexpr int ID_POWER_ON_OUTPUT_CLOSE = 32794;
constexpr int ID_LANGUAGE_DEFAULT = 32792;
constexpr int ID_LANGUAGE_FIRST = 9001; ///< Language file i is 9001 + i.
constexpr int ID_LANGUAGE_LAST = 11001;
constexpr int ID_LANGUAGE_CHECK_LAST = 9101; ///< Language items beyond it show no check mark.
// Window, Help
constexpr int ID_WINDOW_CASCADE = 57650;
constexpr int ID_WINDOW_TILE = 57651;
constexpr int ID_HELP_CONTENT = 57667;
constexpr int ID_APP_ABOUT = 57664;
constexpr int ID_TOOLBAR_UNUSED = 32800; ///< A toolbar button nothing handles.
// Tab strip
constexpr int ID_TAB_CLOSE = 32790;
constexpr int ID_TAB_RENAME = 32801;
constexpr int ID_CLOSE_CURRENT_DEVICE = 1276;
constexpr int IDC_TAB_CONTROL = 2001;
constexpr int IDC_TAB_RENAME_EDIT = 2002;

// Device form (template 101)
constexpr int IDC_WAVE_DISPLAY = 1003;
constexpr int IDC_VIEW_SLIDER = 1004;
constexpr int IDC_MEASURE_MODE = 1005;
constexpr int IDC_COUNTER = 1006;
constexpr int IDC_WAVE_TRAPEZIA = 1007;
constexpr int IDC_WAVE_EXPONENT = 1008;
constexpr int IDC_WAVE_SQUARE = 1009;
constexpr int IDC_WAVE_ARB = 1010;
constexpr int IDC_WAVE_GAUSS_NOISE = 1011;
constexpr int IDC_WAVE_SINE = 1012;
constexpr int IDC_WAVE_AMFM = 1013;
constexpr int IDC_WAVE_WHITE_NOISE = 1014;
constexpr int IDC_WAVE_RAMP = 1026;
constexpr int IDC_LED_COUNTER = 1016;
constexpr int IDC_SW_COUNTER = 1017;
constexpr int IDC_LED_SINGLE_WAVE = 1018;
constexpr int IDC_SW_SINGLE_WAVE = 1019;
constexpr int IDC_LED_OUTPUT = 1020;
constexpr int IDC_SW_OUTPUT = 1021;
constexpr int IDC_LED_EXT_TRIG = 1022;
constexpr int IDC_SW_EXT_TRIG = 1023;
constexpr int IDC_LED_ATTEN = 1024;
constexpr int IDC_SW_ATTEN = 1025;
constexpr int IDC_FREQUENCY = 1027;
constexpr int IDC_AMPLITUDE = 1029;
constexpr int IDC_KNOB_FREQUENCY = 1030;
constexpr int IDC_KNOB_AMPLITUDE = 1031;
constexpr int IDC_OFFSET = 1032;
constexpr int IDC_SPIN_OFFSET = 1034;
constexpr int IDC_TRIG_EDGE = 1035;
constexpr int IDC_PANEL_BUTTON = 1051;
constexpr int IDC_PHASE = 1058;
constexpr int IDC_SPIN_PHASE = 1060;
constexpr int IDC_GROUP_FUNCTIONS = 1049;
constexpr int IDC_GROUP_ENTRY = 1050;
constexpr int IDC_GROUP_TOP = 1057; ///< Layout reference of the panel.

// Device List (142) and Points Edit (135)
constexpr int IDC_DEVICE_LIST = 1001;
constexpr int IDC_DEVICE_LIST_OK = 1002;
constexpr int IDC_POINT_INDEX = 1049;
constexpr int IDC_POINT_VOLT = 1050;
constexpr int IDC_POINT_PREVIOUS = 1051;
constexpr int IDC_POINT_NEXT = 1052;
constexpr int IDC_POINT_REFRESH = 1123;

// Texts used by the code
constexpr int IDS_DEMO = 2007;
constexpr int IDS_NO_ITEM = 2008;
constexpr int IDS_CONNECT = 2009;
constexpr int IDS_SEARCHING = 2010;
constexpr int IDS_DEMO_MODE = 2012;
constexpr int IDS_ON = 2026;
constexpr int IDS_OFF = 2027;
constexpr int IDS_SERIAL_NUMBER = 2030;

// Captions of the device form; their ids key the language texts.
constexpr int IDC_TXT_F = 1242;
constexpr int IDC_TXT_C = 1243;
constexpr int IDC_TXT_RAMP = 1097;
constexpr int IDC_TXT_TRAPEZIA = 1098;
constexpr int IDC_TXT_EXPONENT = 1099;
constexpr int IDC_TXT_SQUARE = 1101;
constexpr int IDC_TXT_ARB = 1102;
constexpr int IDC_TXT_GAUSS_NOISE = 1103;
constexpr int IDC_TXT_SINE = 1104;
constexpr int IDC_TXT_AMFM = 1053;
constexpr int IDC_TXT_WHITE_NOISE = 1105;
constexpr int IDC_TXT_COUNTER = 1244;
constexpr int IDC_TXT_SINGLE_WAVE = 1106;
constexpr int IDC_TXT_OUTPUT = 1107;
constexpr int IDC_TXT_EXT_TRIG = 1108;
constexpr int IDC_TXT_ATTEN = 1252;
constexpr int IDC_TXT_FREQUENCY = 1111;
constexpr int IDC_TXT_FREQUENCY_UNIT = 1045;
constexpr int IDC_TXT_AMPLITUDE = 1112;
constexpr int IDC_TXT_AMPLITUDE_UNIT = 1047;
constexpr int IDC_TXT_OFFSET = 1110;
constexpr int IDC_TXT_OFFSET_UNIT = 1046;
constexpr int IDC_TXT_TRIG_MODE = 1113;
constexpr int IDC_TXT_RAISE = 1115;
constexpr int IDC_TXT_FALL = 1114;
constexpr int IDC_TXT_PHASE = 1062;

// Main frame, About box, Device List
constexpr int IDS_APP_TITLE = 57344;       ///< Message box title "DDS-Tarn USB".
constexpr int ID_INDICATOR_STATE = 61446;  ///< Status pane 0: Demo / Connect / Searching.
constexpr int ID_INDICATOR_SERIAL = 61448; ///< Status pane 1: serial-number bits.
constexpr int ID_INDICATOR_CLOCK = 61447;  ///< Status pane 2: date and time.
constexpr int IDC_ABOUT_PICTURE = 1074;
constexpr int IDC_ABOUT_VERSION = 1055;
constexpr int IDC_ABOUT_NOTICE = 1117;
constexpr int IDS_DEVICE = 2014; ///< Column title of the Device List.

// Printed report and Points Edit captions
constexpr int IDS_REPORT_TITLE = 2013;      ///< "GENERATOR REPORT"
constexpr int IDS_REPORT_DATE = 2028;       ///< "DATE"
constexpr int IDS_REPORT_TIME = 2029;       ///< "TIME"
constexpr int IDS_REPORT_AMPLITUDE = 2019;  ///< "Output Amplitude"
constexpr int IDS_REPORT_FREQUENCY = 2018;  ///< "Output Frequency"
constexpr int IDS_FREQUENCY_MEASURE = 2016; ///< "Frequency Measure"
constexpr int IDS_COUNTER_MEASURE = 2017;   ///< "Counter Measure"
constexpr int IDS_REPORT_NOTE = 2020;       ///< "Note:"
constexpr int IDC_TXT_POINT_INDEX = 1120;
constexpr int IDC_TXT_POINT_INCLUDE0 = 1121;
constexpr int IDC_TXT_POINT_VOLT = 1122;

// Buttons shared by the small dialogs
constexpr int IDC_DLG_OK = 1127;
constexpr int IDC_DLG_CANCEL = 1048;

// Wave parameter dialogs (136, 138, 141, 144, 140) and Period Number (143)
constexpr int IDC_TXT_DUTY = 1125;
constexpr int IDC_TXT_RANGE = 1124;
constexpr int IDC_SQUARE_DUTY = 1006;
constexpr int IDC_KNOB_SQUARE = 1065;
constexpr int IDC_RAMP_DUTY = 1005;
constexpr int IDC_KNOB_RAMP = 1054;
constexpr int IDC_TXT_TRAP_RISE = 1135;
constexpr int IDC_TRAP_RISE = 1008;
constexpr int IDC_TXT_TRAP_HIGH = 1136;
constexpr int IDC_TRAP_HIGH = 1009;
constexpr int IDC_TXT_TRAP_FALL = 1137;
constexpr int IDC_TRAP_FALL = 1059;
constexpr int IDC_EXP_RISE = 1143;
constexpr int IDC_EXP_TAU = 1007;
constexpr int IDB_EXPONENT = 132; ///< Picture beside the time constant.
constexpr int IDC_AMFM_REFRESH = 1123;
constexpr int IDC_TXT_AM_CARRIER = 1132;
constexpr int IDC_AM_CARRIER = 1066;
constexpr int IDC_TXT_AM_DEPTH = 1133;
constexpr int IDC_AM_DEPTH = 1067;
constexpr int IDC_FM_CHECK = 1068;
constexpr int IDC_TXT_FM_DEVIATION = 1134;
constexpr int IDC_FM_DEVIATION = 1058;
constexpr int IDC_TXT_PERIOD_NUMBER = 1142;
constexpr int IDC_PERIOD_NUMBER = 1010;
constexpr int IDC_SPIN_PERIOD_NUMBER = 1034;

// Sweep (139)
constexpr int IDC_SWEEP_START = 1082;
constexpr int IDC_SWEEP_END = 1083;
constexpr int IDC_SWEEP_SPEED = 1077;
constexpr int IDC_SWEEP_STEP = 1084;
constexpr int IDC_KNOB_SWEEP_START = 1086;
constexpr int IDC_KNOB_SWEEP_END = 1076;
constexpr int IDC_KNOB_SWEEP_SPEED = 1078;
constexpr int IDC_KNOB_SWEEP_STEP = 1079;
constexpr int IDC_SWEEP_ONOFF = 1087;
constexpr int IDC_LED_SWEEP = 1074;
constexpr int IDC_TXT_SWEEP_START = 1129;
constexpr int IDC_TXT_SWEEP_END = 1130;
constexpr int IDC_TXT_SWEEP_SPEED = 1131;
constexpr int IDC_TXT_SWEEP_STEP = 1088;

// Digital Out (134) and Digital In (145)
constexpr int IDC_GROUP_DIGITAL_OUT = 2069;
constexpr int IDC_GROUP_DIGITAL_IN = 2070;
constexpr int IDC_PIN_FIRST = 1073; ///< Pin k is IDC_PIN_FIRST + k (O0..O11, I0..I5).

// Warnings of the dialogs' data exchange
constexpr int IDS_NUMBER_REQUIRED = 2040;  ///< "Please enter a number."
constexpr int IDS_INTEGER_REQUIRED = 2041; ///< "Please enter an integer."

// Remote control: Utility > Remote Control... and its dialog (146)
constexpr int ID_REMOTE_CONTROL = 32804;
constexpr int IDD_REMOTE_CONTROL = 146;
constexpr int IDC_REMOTE_ENABLE = 1300;
constexpr int IDC_TXT_REMOTE_PORT = 1301;
constexpr int IDC_TXT_REMOTE_ADDRESS = 1302;
constexpr int IDC_REMOTE_WARNING = 1303;
constexpr int IDC_TXT_REMOTE_CLIENTS = 1304;
constexpr int IDC_REMOTE_PORT = 1305;
constexpr int IDC_REMOTE_ADDRESS = 1306;
constexpr int IDC_REMOTE_CLIENTS = 1307;
constexpr int IDC_TXT_REMOTE_ALLOW = 1308;
constexpr int IDC_REMOTE_ALLOW = 1309;
constexpr int IDS_REMOTE_LISTEN_FAILED = 2042; ///< "Remote control cannot listen: " + reason
constexpr int IDS_ADDRESS_REQUIRED = 2043;     ///< "Please enter an IP address such as 127.0.0.1."
constexpr int IDS_DRIVER_UNUSABLE = 2044;      ///< "The generator driver cannot be used; ..."
// The remote waveform folder and what a client reaches (same dialog)
constexpr int IDC_TXT_REMOTE_DATA_DIR = 1320;
constexpr int IDC_REMOTE_DATA_DIR = 1321;
constexpr int IDC_REMOTE_DATA_BROWSE = 1322;
constexpr int IDC_REMOTE_REACH = 1323;
constexpr int IDS_DATA_DIR_REQUIRED = 2047; ///< "Please enter the waveform folder as an ..."
// The remote pane's tooltip, one line per service beside the raw socket, in CRemoteNote's order
constexpr int IDS_REMOTE_NOTE_VXI11_ON = 2050;  ///< "VXI-11: " + resource
constexpr int IDS_REMOTE_NOTE_VXI11_OFF = 2051; ///< "VXI-11 off, serving the raw socket alone: "
constexpr int IDS_REMOTE_NOTE_DNSSD_ON = 2052;  ///< "DNS-SD: announced as " + name
constexpr int IDS_REMOTE_NOTE_DNSSD_OFF = 2053; ///< "DNS-SD off: " + reason

// Help window (Help > Help Content): the manual with its contents and search
constexpr int IDS_HELP_CAPTION = 2090;   ///< "DDS-Tarn USB Help"
constexpr int IDS_HELP_CONTENTS = 2091;  ///< "Contents"
constexpr int IDS_HELP_FIND = 2092;      ///< "Find:"
constexpr int IDS_HELP_FIND_NEXT = 2093; ///< "Find Next"
constexpr int IDS_HELP_NOT_FOUND = 2094; ///< "Not found:" + the text searched for
constexpr int IDS_HELP_WRAPPED = 2095;   ///< "Reached the end; continued from the top."

// Device setups: Utility > Save Setup... / Open Setup..., and the restore after a crash
constexpr int ID_SAVE_SETUP = 32815;
constexpr int ID_OPEN_SETUP = 32816;
constexpr int IDS_SETUP_FILTER = 2110;      ///< "Device setups (*.ddsetup)"
constexpr int IDS_SETUP_SAVE_TITLE = 2111;  ///< "Save Device Setup"
constexpr int IDS_SETUP_OPEN_TITLE = 2112;  ///< "Open Device Setup"
constexpr int IDS_SETUP_OPEN_FAILED = 2113; ///< "The device setup cannot be opened."
constexpr int IDS_SETUP_SAVE_FAILED = 2114; ///< "The device setup cannot be saved."
constexpr int IDS_RECOVER_QUESTION = 2115;  ///< "... Restore the device windows it had open (%d)?"

// The frequency the unit plays (tooltip of the frequency field, printed report)
constexpr int IDS_PLAYED_FREQUENCY = 2100; ///< "Played Frequency"

// Edit > Undo and Redo of the Arb points
constexpr int ID_ARB_UNDO = 32810;
constexpr int ID_ARB_REDO = 32811;

// Honest status and screen-reader names
constexpr int IDS_SIMULATED = 2080;           ///< "Simulated generator"
constexpr int IDS_ACCESS_KNOB = 2081;         ///< "%s knob"
constexpr int IDS_ACCESS_SWITCH = 2082;       ///< "%s switch"
constexpr int IDS_ACCESS_LAMP = 2083;         ///< "%s lamp"
constexpr int IDS_ACCESS_LEVER = 2084;        ///< "%s lever"
constexpr int IDS_ACCESS_DISPLAY = 2085;      ///< "Waveform display"
constexpr int IDS_ACCESS_MEASURE = 2140;      ///< "Frequency measure"
constexpr int IDS_ACCESS_COUNT = 2141;        ///< "Count"
constexpr int IDS_ACCESS_HIDE_PANEL = 2142;   ///< "Hide the control panel"
constexpr int IDS_ACCESS_SHOW_PANEL = 2143;   ///< "Show the control panel"
constexpr int IDS_ACCESS_VIEW_SLIDER = 2144;  ///< "Waveform position"
constexpr int IDS_ACCESS_FIELD_HZ = 2145;     ///< "%s, Hz"
constexpr int IDS_ACCESS_FIELD_V = 2146;      ///< "%s, V"
constexpr int IDS_ACCESS_FIELD_PERIOD = 2147; ///< "%s, share of a period"
constexpr int IDS_ACCESS_POSITION = 2148;     ///< "%s: %s"
constexpr int IDS_STEP = 2149;                ///< "Step: %s"
constexpr int IDS_ACCESS_MORE_BUTTONS = 2150; ///< "More buttons"

// Waveform import and export: Edit > Import Waveform... / Export Waveform... and their dialogs
constexpr int ID_IMPORT_WAVEFORM = 32820;
constexpr int ID_EXPORT_WAVEFORM = 32821;
constexpr int IDD_IMPORT_WAVEFORM = 151;
constexpr int IDD_EXPORT_WAVEFORM = 152;
constexpr int IDC_IMPORT_PREVIEW = 1400;
constexpr int IDC_TXT_IMPORT_SAMPLES = 1401;
constexpr int IDC_IMPORT_SAMPLES = 1402;
constexpr int IDC_TXT_IMPORT_POINTS = 1403;
constexpr int IDC_IMPORT_POINTS = 1404;
constexpr int IDC_IMPORT_KEEP_VOLTS = 1405;
constexpr int IDC_IMPORT_FIT = 1406;
constexpr int IDC_TXT_IMPORT_CLIPPED = 1407;
constexpr int IDC_IMPORT_CLIPPED = 1408;
constexpr int IDC_TXT_IMPORT_FREQUENCY = 1409;
constexpr int IDC_IMPORT_FREQUENCY = 1410;
constexpr int IDC_IMPORT_APPLY = 1411;
constexpr int IDC_IMPORT_CANCEL = 1412;
constexpr int IDC_EXPORT_WAV = 1420;
constexpr int IDC_EXPORT_CSV = 1421;
constexpr int IDC_TXT_EXPORT_PERIODS = 1422;
constexpr int IDC_EXPORT_PERIODS = 1423;
constexpr int IDC_TXT_EXPORT_RATE = 1424;
constexpr int IDC_EXPORT_RATE = 1425;
constexpr int IDC_TXT_EXPORT_SAMPLES = 1426;
constexpr int IDC_EXPORT_SAMPLES = 1427;
constexpr int IDC_EXPORT_SAVE = 1428;
constexpr int IDC_EXPORT_CANCEL = 1429;
constexpr int IDS_IMPORT_TITLE = 2130;      ///< "Import Waveform" (file dialog)
constexpr int IDS_EXPORT_TITLE = 2131;      ///< "Export Waveform" (file dialog)
constexpr int IDS_IMPORT_FILTER = 2132;     ///< "Waveforms"
constexpr int IDS_EXPORT_WAV_FILTER = 2133; ///< "WAV sound file"
constexpr int IDS_EXPORT_CSV_FILTER = 2134; ///< "CSV file (time, volts)"
constexpr int IDS_IMPORT_SAMPLES_AT = 2135; ///< "%1 samples at %2 Hz"
constexpr int IDS_IMPORT_SAMPLES = 2136;    ///< "%1 samples, no time given"
constexpr int IDS_EXPORT_TOO_MANY = 2137;   ///< "More than %1 samples: ..." (beside Save)

// The locale of Qt's own translations (standard dialogs) for a language; none for English
constexpr int IDS_QT_LOCALE = 8889;
