// The control IDs of the dialog templates, shared by the templates and the procedures.
#pragma once

// View Settings window (template 107).
constexpr int VS_HOG_LIST = 1000;  // archive polymodel list (combo box)
constexpr int VS_HOG_COUNT = 1002; // number of archive polymodels
constexpr int VS_HOG_NUMBER = 1003;
constexpr int VS_FILE_NAME = 1004; // loaded file
constexpr int VS_FACING = 1005;
constexpr int VS_ROTATE = 1006;
constexpr int VS_SOBJ_NUMBER = 1007;
constexpr int VS_SOBJ_COUNT = 1008;
constexpr int VS_HOG_PLUS = 1009;
constexpr int VS_HOG_MINUS = 1010;
constexpr int VS_POSITIONS = 1011;
constexpr int VS_GLOW = 1012;
constexpr int VS_HIGHLIGHT_SOBJ = 1013;
constexpr int VS_HIGHLIGHT_TEXTURE = 1014;
constexpr int VS_TEXTURE_NUMBER = 1015;
constexpr int VS_SOBJ_PLUS = 1016;
constexpr int VS_SOBJ_MINUS = 1017;
constexpr int VS_SOBJ_PROPS = 1018;
constexpr int VS_SOBJ_NAME = 1019;
constexpr int VS_SOBJ_POLYS = 1020;
constexpr int VS_SOBJ_VERTS = 1021;
constexpr int VS_TEXTURE_PLUS = 1022;
constexpr int VS_TEXTURE_MINUS = 1023;
constexpr int VS_TOTAL_POLYS = 1024;
constexpr int VS_TOTAL_VERTS = 1025;
constexpr int VS_TEXTURE_COUNT = 1026;
constexpr int VS_TEXTURE_NAME = 1027;
constexpr int VS_FLAT_COLORS = 1028;
constexpr int VS_TEXTURE_FILE = 1029; // file the texture came from
constexpr int VS_KEY_NUMBER = 1030;
constexpr int VS_KEY_PLUS = 1031;
constexpr int VS_KEY_MINUS = 1032;
constexpr int VS_KEY_COUNT = 1033;
constexpr int VS_KEY_FRAME = 1034; // frame number of the current key

// Submodel page (template 118).
constexpr int SM_HIGHLIGHT = 1037;
constexpr int SM_COUNT = 1038;
constexpr int SM_NUMBER = 1039;
constexpr int SM_PLUS = 1040;
constexpr int SM_MINUS = 1041;
constexpr int SM_NAME = 1042;
constexpr int SM_PROPS = 1043;

// Special-point page (template 115).
constexpr int SP_NUMBER = 1057;
constexpr int SP_PLUS = 1058;
constexpr int SP_MINUS = 1059;
constexpr int SP_COUNT = 1060;
constexpr int SP_NAME = 1062;
constexpr int SP_PROPS = 1063;
constexpr int SP_LOC_X = 1064;
constexpr int SP_LOC_Y = 1065;
constexpr int SP_LOC_Z = 1066;
constexpr int SP_RADIUS = 1068;
constexpr int SP_ADD = 1069;
constexpr int SP_DELETE = 1070;

// Point-list page (template 114).
constexpr int PT_NUMBER = 1096;
constexpr int PT_PLUS = 1097;
constexpr int PT_MINUS = 1098;
constexpr int PT_COUNT = 1099;
constexpr int PT_ADD = 1100;
constexpr int PT_DELETE = 1101;
constexpr int PT_LOC_X = 1102;
constexpr int PT_LOC_Y = 1103;
constexpr int PT_LOC_Z = 1104;
constexpr int PT_DIR_X = 1105;
constexpr int PT_DIR_Y = 1106;
constexpr int PT_DIR_Z = 1107;
constexpr int PT_SUBMODEL = 1108;

// Edit Window (template 116).
constexpr int EW_TABS = 1109; // tab control
constexpr int EW_SHOW_LOCATION = 1110;
constexpr int EW_SHOW_ALL_POINTS = 1111;

// Weapon battery page (template 117).
constexpr int WB_NUMBER = 1112;
constexpr int WB_PLUS = 1113;
constexpr int WB_MINUS = 1114;
constexpr int WB_COUNT = 1115;
constexpr int WB_ADD = 1116;
constexpr int WB_DELETE = 1117;
constexpr int WB_FIRST_GUN = 1118;    // gun boxes 1..10 are 1118..1127
constexpr int WB_FIRST_TURRET = 1128; // turret boxes 1..30 are 1128..1157
