/*
 * The names of dxdlg.dll's resources, shared by the resource script (res/dxdlg.rc), the library,
 * its tests and tools: dialog templates (IDD_), their controls (IDC_), the strings that the
 * duplex dialog loads (IDS_), the bitmaps (IDB_), the picture controls' class names and style
 * bits. Plain #defines only, so that the resource compiler (which defines RC_INVOKED) reads it
 * as well as a C or C++ compiler. The values are part of the library's contract: the templates'
 * bytes hold them.
 *
 * A resource named by a string (MDDIALOG_TRAY, EVEN_T_C) is an identifier here, because the
 * script takes such names bare; C code gets the string with DXDLG_RESOURCE_NAME(IDD_DUPLEX_TRAY)
 * ("MDDIALOG_TRAY") or DXDLG_RESOURCE_NAMEW (L"MDDIALOG_TRAY").
 *
 * ASCII only: the file needs no code page.
 */
#ifndef DXDLG_RESOURCE_H
#define DXDLG_RESOURCE_H

/* ---- Dialog templates ---- */

/* The manual duplex instructions, cassette and manual-feed slot. */
#define IDD_DUPLEX_TRAY                 MDDIALOG_TRAY
#define IDD_DUPLEX_MANUALFEED           MDDIALOG_MF

/* The manual-feed slot instructions, by the language that selects them. Danish, Portuguese
 * (Brazil) and Japanese show English texts; every other language shows IDD_MANUALFEED_ENGLISH. */
#define IDD_MANUALFEED_DUTCH            103
#define IDD_MANUALFEED_ITALIAN          104
#define IDD_MANUALFEED_FRENCH           105
#define IDD_MANUALFEED_NORWEGIAN        106
#define IDD_MANUALFEED_SPANISH          107
#define IDD_MANUALFEED_SWEDISH          108
#define IDD_MANUALFEED_DANISH           109
#define IDD_MANUALFEED_GERMAN           110
#define IDD_MANUALFEED_ENGLISH          181
#define IDD_MANUALFEED_PORTUGUESE_BRAZIL 183
#define IDD_MANUALFEED_JAPANESE         187

/* The timed notices, by language; English serves every language without its own. No code opens
 * the Japanese ones, nor the Dutch memory-full and disk-full notices. */
#define IDD_RAWWARNING_ENGLISH          102
#define IDD_RAWWARNING_SWEDISH          145
#define IDD_RAWWARNING_DUTCH            146
#define IDD_RAWWARNING_FRENCH           147
#define IDD_RAWWARNING_GERMAN           148
#define IDD_RAWWARNING_ITALIAN          149
#define IDD_RAWWARNING_NORWEGIAN        150
#define IDD_RAWWARNING_SPANISH          151
#define IDD_RAWWARNING_DANISH           180
#define IDD_RAWWARNING_PORTUGUESE_BRAZIL 185
#define IDD_RAWWARNING_JAPANESE         189

#define IDD_MEMFULL_ENGLISH             158
#define IDD_MEMFULL_NORWEGIAN           168
#define IDD_MEMFULL_SPANISH             169
#define IDD_MEMFULL_SWEDISH             170
#define IDD_MEMFULL_DUTCH               174
#define IDD_MEMFULL_FRENCH              175
#define IDD_MEMFULL_GERMAN              176
#define IDD_MEMFULL_ITALIAN             177
#define IDD_MEMFULL_DANISH              179
#define IDD_MEMFULL_PORTUGUESE_BRAZIL   184
#define IDD_MEMFULL_JAPANESE            188

#define IDD_DISKFULL_ENGLISH            166
#define IDD_DISKFULL_ITALIAN            155
#define IDD_DISKFULL_GERMAN             156
#define IDD_DISKFULL_FRENCH             157
#define IDD_DISKFULL_DUTCH              159
#define IDD_DISKFULL_NORWEGIAN          171
#define IDD_DISKFULL_SPANISH            172
#define IDD_DISKFULL_SWEDISH            173
#define IDD_DISKFULL_DANISH             178
#define IDD_DISKFULL_PORTUGUESE_BRAZIL  182
#define IDD_DISKFULL_JAPANESE           186

/* Templates that no code opens: the print processor's administrative settings and an earlier
 * layout of the manual-feed slot instructions, one per language. */
#define IDD_ADMINISTRATIVE              111
#define IDD_OLDMANUALFEED_DANISH        MF_DAN_103
#define IDD_OLDMANUALFEED_DUTCH         MF_DUT_103
#define IDD_OLDMANUALFEED_ENGLISH       MF_ENG_103
#define IDD_OLDMANUALFEED_FRENCH        MF_FRE_103
#define IDD_OLDMANUALFEED_GERMAN        MF_GER_103
#define IDD_OLDMANUALFEED_ITALIAN       MF_ITA_103
#define IDD_OLDMANUALFEED_NORWEGIAN     MF_NOR_103
#define IDD_OLDMANUALFEED_SPANISH       MF_SPA_103
#define IDD_OLDMANUALFEED_SWEDISH       MF_SWE_103

/* ---- Controls ---- */

#ifndef IDC_STATIC
#define IDC_STATIC                      (-1)    /* a control without identifier (stored as 65535) */
#endif

/* Duplex templates (their buttons are IDOK and IDCANCEL); the older manual-feed templates
 * reuse 151 and 158. */
#define IDC_INSTRUCTION                 151     /* the instruction text */
#define IDC_NOTE                        152     /* under the picture; always empty */
#define IDC_PICTURE                     158
#define IDC_STEP1                       159     /* older manual-feed templates: hidden steps */
#define IDC_STEP2                       160

/* Manual-feed slot templates. */
#define IDC_MANUALFEED_OK               1035
#define IDC_MANUALFEED_CANCEL           1036

/* The administrative settings template. */
#define IDC_ADMIN_INSTALL               1039
#define IDC_ADMIN_UNINSTALL             1040
#define IDC_ADMIN_SELECT                1041
#define IDC_ADMIN_AUTO                  1042
#define IDC_ADMIN_EXIT                  1043

/* Notice templates. */
#define IDC_NOTICE_OK                   1046

/* ---- Picture controls ---- */

/* Window classes: the duplex dialogs' pictures, the manual-feed slot dialogs' pictures, and the
 * class of the older manual-feed templates, which this library does not register. */
#define BITMAPCTL_CLASS                 "ZK7730BMPCLASS"
#define MANUALDUPCTL_CLASS              "OvManualDupClass"
#define OLDMANUALFEEDCTL_CLASS          "ZK5520UD_2"

/* Style bits of a picture control, in the low byte of its window style. */
#define PCS_GRAYBKGND                   0x0040  /* light-grey background, not the window colour */
#define PCS_CENTERIMAGE                 0x0080  /* a picture that fits is centred at its own size */

/* ---- Bitmaps ---- */

/* The duplex dialog builds these names from the paper source (C cassette, M manual-feed slot)
 * and the pass: EVEN_T_ for the first, ODD_T_..._D1 or _D2 for the second, by the sheet's turn.
 * No code asks for the four placeholders. */
#define IDB_CASSETTE_FIRST              EVEN_T_C
#define IDB_MANUALFEED_FIRST            EVEN_T_M
#define IDB_CASSETTE_SECOND_1           ODD_T_C_D1
#define IDB_CASSETTE_SECOND_2           ODD_T_C_D2
#define IDB_MANUALFEED_SECOND_1         ODD_T_M_D1
#define IDB_MANUALFEED_SECOND_2         ODD_T_M_D2
#define IDB_PLACEHOLDER_C_1             ODD_Y_C_D1
#define IDB_PLACEHOLDER_C_2             ODD_Y_C_D2
#define IDB_PLACEHOLDER_M_1             ODD_Y_M_D1
#define IDB_PLACEHOLDER_M_2             ODD_Y_M_D2

/* ---- Strings of the manual duplex dialog ---- */

/* Per language: the instructions for the cassette and for the manual-feed slot, first and second
 * pass; the caption; the OK and Cancel words. The identifiers follow no formula. Finnish's have
 * no strings: the dialog shows English in their place. */
#define IDS_ENGLISH_CASSETTE_FIRST      1
#define IDS_ENGLISH_CASSETTE_SECOND     2
#define IDS_ENGLISH_MANUALFEED_FIRST    3
#define IDS_ENGLISH_MANUALFEED_SECOND   4
#define IDS_ENGLISH_CAPTION             54
#define IDS_ENGLISH_OK                  65
#define IDS_ENGLISH_CANCEL              76

#define IDS_DUTCH_CASSETTE_FIRST        6
#define IDS_DUTCH_CASSETTE_SECOND       7
#define IDS_DUTCH_MANUALFEED_FIRST      8
#define IDS_DUTCH_MANUALFEED_SECOND     9
#define IDS_DUTCH_CAPTION               55
#define IDS_DUTCH_OK                    66
#define IDS_DUTCH_CANCEL                77

#define IDS_FRENCH_CASSETTE_FIRST       11
#define IDS_FRENCH_CASSETTE_SECOND      12
#define IDS_FRENCH_MANUALFEED_FIRST     13
#define IDS_FRENCH_MANUALFEED_SECOND    14
#define IDS_FRENCH_CAPTION              56
#define IDS_FRENCH_OK                   67
#define IDS_FRENCH_CANCEL               78

#define IDS_GERMAN_CASSETTE_FIRST       16
#define IDS_GERMAN_CASSETTE_SECOND      17
#define IDS_GERMAN_MANUALFEED_FIRST     18
#define IDS_GERMAN_MANUALFEED_SECOND    19
#define IDS_GERMAN_CAPTION              57
#define IDS_GERMAN_OK                   68
#define IDS_GERMAN_CANCEL               79

#define IDS_NORWEGIAN_CASSETTE_FIRST    21
#define IDS_NORWEGIAN_CASSETTE_SECOND   22
#define IDS_NORWEGIAN_MANUALFEED_FIRST  23
#define IDS_NORWEGIAN_MANUALFEED_SECOND 24
#define IDS_NORWEGIAN_CAPTION           58
#define IDS_NORWEGIAN_OK                69
#define IDS_NORWEGIAN_CANCEL            80

#define IDS_SPANISH_CASSETTE_FIRST      26
#define IDS_SPANISH_CASSETTE_SECOND     27
#define IDS_SPANISH_MANUALFEED_FIRST    28
#define IDS_SPANISH_MANUALFEED_SECOND   29
#define IDS_SPANISH_CAPTION             59
#define IDS_SPANISH_OK                  70
#define IDS_SPANISH_CANCEL              81

#define IDS_SWEDISH_CASSETTE_FIRST      31
#define IDS_SWEDISH_CASSETTE_SECOND     32
#define IDS_SWEDISH_MANUALFEED_FIRST    33
#define IDS_SWEDISH_MANUALFEED_SECOND   34
#define IDS_SWEDISH_CAPTION             60
#define IDS_SWEDISH_OK                  71
#define IDS_SWEDISH_CANCEL              82

#define IDS_ITALIAN_CASSETTE_FIRST      36
#define IDS_ITALIAN_CASSETTE_SECOND     37
#define IDS_ITALIAN_MANUALFEED_FIRST    38
#define IDS_ITALIAN_MANUALFEED_SECOND   39
#define IDS_ITALIAN_CAPTION             61
#define IDS_ITALIAN_OK                  72
#define IDS_ITALIAN_CANCEL              83

#define IDS_DANISH_CASSETTE_FIRST       41
#define IDS_DANISH_CASSETTE_SECOND      42
#define IDS_DANISH_MANUALFEED_FIRST     43
#define IDS_DANISH_MANUALFEED_SECOND    44
#define IDS_DANISH_CAPTION              62
#define IDS_DANISH_OK                   73
#define IDS_DANISH_CANCEL               84

#define IDS_PORTUGUESE_BRAZIL_CASSETTE_FIRST    46
#define IDS_PORTUGUESE_BRAZIL_CASSETTE_SECOND   47
#define IDS_PORTUGUESE_BRAZIL_MANUALFEED_FIRST  48
#define IDS_PORTUGUESE_BRAZIL_MANUALFEED_SECOND 49
#define IDS_PORTUGUESE_BRAZIL_CAPTION           63
#define IDS_PORTUGUESE_BRAZIL_OK                74
#define IDS_PORTUGUESE_BRAZIL_CANCEL            85

#define IDS_JAPANESE_CASSETTE_FIRST     87
#define IDS_JAPANESE_CASSETTE_SECOND    88
#define IDS_JAPANESE_MANUALFEED_FIRST   89
#define IDS_JAPANESE_MANUALFEED_SECOND  90
#define IDS_JAPANESE_OK                 91
#define IDS_JAPANESE_CANCEL             92
#define IDS_JAPANESE_CAPTION            93

#define IDS_PORTUGUESE_PORTUGAL_CASSETTE_FIRST    33451
#define IDS_PORTUGUESE_PORTUGAL_CASSETTE_SECOND   33452
#define IDS_PORTUGUESE_PORTUGAL_MANUALFEED_FIRST  33453
#define IDS_PORTUGUESE_PORTUGAL_OK                33455
#define IDS_PORTUGUESE_PORTUGAL_CANCEL            33456
#define IDS_PORTUGUESE_PORTUGAL_CAPTION           33457
#define IDS_PORTUGUESE_PORTUGAL_MANUALFEED_SECOND 33459

#define IDS_KOREAN_CASSETTE_FIRST       50000
#define IDS_KOREAN_CASSETTE_SECOND      50001
#define IDS_KOREAN_MANUALFEED_FIRST     50002
#define IDS_KOREAN_MANUALFEED_SECOND    50003
#define IDS_KOREAN_OK                   50004
#define IDS_KOREAN_CANCEL               50005
#define IDS_KOREAN_CAPTION              50006

#define IDS_CHINESE_CASSETTE_FIRST      50010
#define IDS_CHINESE_CASSETTE_SECOND     50011
#define IDS_CHINESE_MANUALFEED_FIRST    50012
#define IDS_CHINESE_MANUALFEED_SECOND   50013
#define IDS_CHINESE_OK                  50014
#define IDS_CHINESE_CANCEL              50015
#define IDS_CHINESE_CAPTION             50016

#define IDS_FINNISH_CASSETTE_FIRST      50020
#define IDS_FINNISH_CASSETTE_SECOND     50021
#define IDS_FINNISH_MANUALFEED_FIRST    50022
#define IDS_FINNISH_MANUALFEED_SECOND   50023
#define IDS_FINNISH_OK                  50024
#define IDS_FINNISH_CANCEL              50025
#define IDS_FINNISH_CAPTION             50026

/* ---- What each illustration shows, for screen readers ----
 *
 * One sentence per illustration and language, which the dialogs give their picture control as
 * its window text, so that the accessibility layer names the picture by it. Each language has a
 * block of sixteen identifiers of its own (1024 + 16 x its duplex column), its six sentences in
 * the order of the bitmaps' names above, then the sentence on the manual-feed slot dialog's
 * picture (the first pass's illustration, told in the words of that dialog's template). Only the
 * languages whose slot template has texts of its own hold that seventh sentence; the others show
 * the English template, and Finnish's name no strings at all: English serves in their place. */
#define IDS_DUTCH_PICTURE_CASSETTE_FIRST                1024
#define IDS_DUTCH_PICTURE_CASSETTE_SECOND_1             1025
#define IDS_DUTCH_PICTURE_CASSETTE_SECOND_2             1026
#define IDS_DUTCH_PICTURE_MANUALFEED_FIRST              1027
#define IDS_DUTCH_PICTURE_MANUALFEED_SECOND_1           1028
#define IDS_DUTCH_PICTURE_MANUALFEED_SECOND_2           1029
#define IDS_DUTCH_PICTURE_MANUALFEED_SLOT               1030

#define IDS_FRENCH_PICTURE_CASSETTE_FIRST               1040
#define IDS_FRENCH_PICTURE_CASSETTE_SECOND_1            1041
#define IDS_FRENCH_PICTURE_CASSETTE_SECOND_2            1042
#define IDS_FRENCH_PICTURE_MANUALFEED_FIRST             1043
#define IDS_FRENCH_PICTURE_MANUALFEED_SECOND_1          1044
#define IDS_FRENCH_PICTURE_MANUALFEED_SECOND_2          1045
#define IDS_FRENCH_PICTURE_MANUALFEED_SLOT              1046

#define IDS_GERMAN_PICTURE_CASSETTE_FIRST               1056
#define IDS_GERMAN_PICTURE_CASSETTE_SECOND_1            1057
#define IDS_GERMAN_PICTURE_CASSETTE_SECOND_2            1058
#define IDS_GERMAN_PICTURE_MANUALFEED_FIRST             1059
#define IDS_GERMAN_PICTURE_MANUALFEED_SECOND_1          1060
#define IDS_GERMAN_PICTURE_MANUALFEED_SECOND_2          1061
#define IDS_GERMAN_PICTURE_MANUALFEED_SLOT              1062

#define IDS_ITALIAN_PICTURE_CASSETTE_FIRST              1072
#define IDS_ITALIAN_PICTURE_CASSETTE_SECOND_1           1073
#define IDS_ITALIAN_PICTURE_CASSETTE_SECOND_2           1074
#define IDS_ITALIAN_PICTURE_MANUALFEED_FIRST            1075
#define IDS_ITALIAN_PICTURE_MANUALFEED_SECOND_1         1076
#define IDS_ITALIAN_PICTURE_MANUALFEED_SECOND_2         1077
#define IDS_ITALIAN_PICTURE_MANUALFEED_SLOT             1078

#define IDS_NORWEGIAN_PICTURE_CASSETTE_FIRST            1088
#define IDS_NORWEGIAN_PICTURE_CASSETTE_SECOND_1         1089
#define IDS_NORWEGIAN_PICTURE_CASSETTE_SECOND_2         1090
#define IDS_NORWEGIAN_PICTURE_MANUALFEED_FIRST          1091
#define IDS_NORWEGIAN_PICTURE_MANUALFEED_SECOND_1       1092
#define IDS_NORWEGIAN_PICTURE_MANUALFEED_SECOND_2       1093
#define IDS_NORWEGIAN_PICTURE_MANUALFEED_SLOT           1094

#define IDS_SWEDISH_PICTURE_CASSETTE_FIRST              1104
#define IDS_SWEDISH_PICTURE_CASSETTE_SECOND_1           1105
#define IDS_SWEDISH_PICTURE_CASSETTE_SECOND_2           1106
#define IDS_SWEDISH_PICTURE_MANUALFEED_FIRST            1107
#define IDS_SWEDISH_PICTURE_MANUALFEED_SECOND_1         1108
#define IDS_SWEDISH_PICTURE_MANUALFEED_SECOND_2         1109
#define IDS_SWEDISH_PICTURE_MANUALFEED_SLOT             1110

#define IDS_ENGLISH_PICTURE_CASSETTE_FIRST              1120
#define IDS_ENGLISH_PICTURE_CASSETTE_SECOND_1           1121
#define IDS_ENGLISH_PICTURE_CASSETTE_SECOND_2           1122
#define IDS_ENGLISH_PICTURE_MANUALFEED_FIRST            1123
#define IDS_ENGLISH_PICTURE_MANUALFEED_SECOND_1         1124
#define IDS_ENGLISH_PICTURE_MANUALFEED_SECOND_2         1125
#define IDS_ENGLISH_PICTURE_MANUALFEED_SLOT             1126

#define IDS_SPANISH_PICTURE_CASSETTE_FIRST              1136
#define IDS_SPANISH_PICTURE_CASSETTE_SECOND_1           1137
#define IDS_SPANISH_PICTURE_CASSETTE_SECOND_2           1138
#define IDS_SPANISH_PICTURE_MANUALFEED_FIRST            1139
#define IDS_SPANISH_PICTURE_MANUALFEED_SECOND_1         1140
#define IDS_SPANISH_PICTURE_MANUALFEED_SECOND_2         1141
#define IDS_SPANISH_PICTURE_MANUALFEED_SLOT             1142

#define IDS_DANISH_PICTURE_CASSETTE_FIRST               1152
#define IDS_DANISH_PICTURE_CASSETTE_SECOND_1            1153
#define IDS_DANISH_PICTURE_CASSETTE_SECOND_2            1154
#define IDS_DANISH_PICTURE_MANUALFEED_FIRST             1155
#define IDS_DANISH_PICTURE_MANUALFEED_SECOND_1          1156
#define IDS_DANISH_PICTURE_MANUALFEED_SECOND_2          1157
#define IDS_DANISH_PICTURE_MANUALFEED_SLOT              1158

#define IDS_PORTUGUESE_BRAZIL_PICTURE_CASSETTE_FIRST    1168
#define IDS_PORTUGUESE_BRAZIL_PICTURE_CASSETTE_SECOND_1 1169
#define IDS_PORTUGUESE_BRAZIL_PICTURE_CASSETTE_SECOND_2 1170
#define IDS_PORTUGUESE_BRAZIL_PICTURE_MANUALFEED_FIRST  1171
#define IDS_PORTUGUESE_BRAZIL_PICTURE_MANUALFEED_SECOND_1 1172
#define IDS_PORTUGUESE_BRAZIL_PICTURE_MANUALFEED_SECOND_2 1173
#define IDS_PORTUGUESE_BRAZIL_PICTURE_MANUALFEED_SLOT   1174

#define IDS_JAPANESE_PICTURE_CASSETTE_FIRST             1184
#define IDS_JAPANESE_PICTURE_CASSETTE_SECOND_1          1185
#define IDS_JAPANESE_PICTURE_CASSETTE_SECOND_2          1186
#define IDS_JAPANESE_PICTURE_MANUALFEED_FIRST           1187
#define IDS_JAPANESE_PICTURE_MANUALFEED_SECOND_1        1188
#define IDS_JAPANESE_PICTURE_MANUALFEED_SECOND_2        1189
#define IDS_JAPANESE_PICTURE_MANUALFEED_SLOT            1190

#define IDS_FINNISH_PICTURE_CASSETTE_FIRST              1200
#define IDS_FINNISH_PICTURE_CASSETTE_SECOND_1           1201
#define IDS_FINNISH_PICTURE_CASSETTE_SECOND_2           1202
#define IDS_FINNISH_PICTURE_MANUALFEED_FIRST            1203
#define IDS_FINNISH_PICTURE_MANUALFEED_SECOND_1         1204
#define IDS_FINNISH_PICTURE_MANUALFEED_SECOND_2         1205
#define IDS_FINNISH_PICTURE_MANUALFEED_SLOT             1206

#define IDS_KOREAN_PICTURE_CASSETTE_FIRST               1216
#define IDS_KOREAN_PICTURE_CASSETTE_SECOND_1            1217
#define IDS_KOREAN_PICTURE_CASSETTE_SECOND_2            1218
#define IDS_KOREAN_PICTURE_MANUALFEED_FIRST             1219
#define IDS_KOREAN_PICTURE_MANUALFEED_SECOND_1          1220
#define IDS_KOREAN_PICTURE_MANUALFEED_SECOND_2          1221
#define IDS_KOREAN_PICTURE_MANUALFEED_SLOT              1222

#define IDS_CHINESE_PICTURE_CASSETTE_FIRST              1232
#define IDS_CHINESE_PICTURE_CASSETTE_SECOND_1           1233
#define IDS_CHINESE_PICTURE_CASSETTE_SECOND_2           1234
#define IDS_CHINESE_PICTURE_MANUALFEED_FIRST            1235
#define IDS_CHINESE_PICTURE_MANUALFEED_SECOND_1         1236
#define IDS_CHINESE_PICTURE_MANUALFEED_SECOND_2         1237
#define IDS_CHINESE_PICTURE_MANUALFEED_SLOT             1238

#define IDS_PORTUGUESE_PORTUGAL_PICTURE_CASSETTE_FIRST  1248
#define IDS_PORTUGUESE_PORTUGAL_PICTURE_CASSETTE_SECOND_1 1249
#define IDS_PORTUGUESE_PORTUGAL_PICTURE_CASSETTE_SECOND_2 1250
#define IDS_PORTUGUESE_PORTUGAL_PICTURE_MANUALFEED_FIRST 1251
#define IDS_PORTUGUESE_PORTUGAL_PICTURE_MANUALFEED_SECOND_1 1252
#define IDS_PORTUGUESE_PORTUGAL_PICTURE_MANUALFEED_SECOND_2 1253
#define IDS_PORTUGUESE_PORTUGAL_PICTURE_MANUALFEED_SLOT 1254

/* ---- Names as strings, for C and C++ ---- */

#ifndef RC_INVOKED
#define DXDLG_STRINGIZE(x) #x
#define DXDLG_WIDEN(s) L##s
/* DXDLG_RESOURCE_NAME(IDD_DUPLEX_TRAY) is "MDDIALOG_TRAY"; DXDLG_RESOURCE_NAMEW gives L"...". A
 * misspelt IDD_ or IDB_ name turns into a string all the same, which names no resource. */
#define DXDLG_RESOURCE_NAME(id) DXDLG_STRINGIZE(id)
#define DXDLG_RESOURCE_NAMEW(id) DXDLG_WIDE(DXDLG_RESOURCE_NAME(id))
/* DXDLG_WIDE(BITMAPCTL_CLASS) is L"ZK7730BMPCLASS". */
#define DXDLG_WIDE(s) DXDLG_WIDEN(s)
#endif

#endif
