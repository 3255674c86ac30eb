#pragma once

// Command ids carried by the QActions. The framework's standard ids keep their classic values so
// that tool bar, menu and accelerators agree with the resources they were designed from.
namespace satorix {

// File
constexpr int ID_FILE_NEW = 57600;
constexpr int ID_FILE_OPEN = 57601;
constexpr int ID_FILE_SAVE = 57603;
constexpr int ID_FILE_SAVE_AS = 57604;
constexpr int ID_FILE_PRINT_SETUP = 57606;
constexpr int ID_FILE_PRINT = 57607;
constexpr int ID_FILE_PRINT_PREVIEW = 57609;
constexpr int ID_FILE_MRU_FILE1 = 57616; // .. ID_FILE_MRU_FILE1 + 3
constexpr int ID_APP_ABOUT = 57664;
constexpr int ID_APP_EXIT = 57665;

// Edit
constexpr int ID_EDIT_CLEAR = 57632;
constexpr int ID_EDIT_COPY = 57634;
constexpr int ID_EDIT_CUT = 57635;
constexpr int ID_EDIT_FIND = 57636;
constexpr int ID_EDIT_PASTE = 57637;
constexpr int ID_EDIT_UNDO = 57643;
constexpr int ID_EDIT_REDO = 57644;
constexpr int ID_PROGRAM_DELETE = 32815;

// View and window
constexpr int ID_VIEW_TOOLBAR = 59392;
constexpr int ID_VIEW_STATUS_BAR = 59393;
constexpr int ID_NEXT_PANE = 57680;
constexpr int ID_PREV_PANE = 57681;

// TV / radio filter
constexpr int ID_SHOW_TV_RADIO = 32772;
constexpr int ID_SHOW_TV = 32773;
constexpr int ID_SHOW_RADIO = 32774;

// Tree and program list
constexpr int ID_PROGRAM_EDIT = 32794;
constexpr int ID_TRANSPONDER_EDIT = 32795;
constexpr int ID_PROGRAM_ADD = 32796;
constexpr int ID_TRANSPONDER_ADD = 32797;
constexpr int ID_TRANSPONDER_DELETE = 32799;
constexpr int ID_LIST_TV_RADIO = 32803;
constexpr int ID_LIST_TV = 32804;
constexpr int ID_LIST_RADIO = 32805;

// Sort, move, bulk edits and duplicates of the program list
constexpr int ID_SORT_NAME = 32830;
constexpr int ID_SORT_PROVIDER = 32831;
constexpr int ID_SORT_SATELLITE = 32832;
constexpr int ID_SORT_SERVICE_ID = 32833;
constexpr int ID_FIND_DUPLICATES = 32834;
constexpr int ID_PROGRAM_LOCK = 32835;
constexpr int ID_PROGRAM_UNLOCK = 32836;
constexpr int ID_MOVE_TOP = 32837;
constexpr int ID_MOVE_BOTTOM = 32838;
constexpr int ID_MOVE_UP = 32839;
constexpr int ID_MOVE_DOWN = 32840;
constexpr int ID_FAV_ADD_FIRST = 32841;    // .. 32849, lists 1..9
constexpr int ID_FAV_REMOVE_FIRST = 32850; // .. 32858

// Spreadsheets and reference lists
constexpr int ID_FILE_EXPORT = 32860;
constexpr int ID_FILE_IMPORT = 32861;
constexpr int ID_FILE_APPLY_REFERENCE = 32862;

// Link and settings
constexpr int ID_STB_DOWNLOAD = 32806;
constexpr int ID_SETTINGS_PORT = 32807;
constexpr int ID_STB_UPLOAD = 32808;
constexpr int ID_STB_UPGRADE = 32809;
constexpr int ID_TOOLBAR_PORT = 32810;
constexpr int ID_SETTINGS_OPTIONS = 32818;

// Status bar panes
constexpr int ID_INDICATOR_CAPS = 59137;
constexpr int ID_INDICATOR_NUM = 59138;
constexpr int ID_INDICATOR_SCRL = 59139;
constexpr int ID_INDICATOR_OVR = 59140;
constexpr int ID_INDICATOR_COUNTS = 59142;

} // namespace satorix
