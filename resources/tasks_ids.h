// Control ids of the task pages. Plain #defines so that the resource script
// can include this file too. Each page is a window of its own, so the day
// view and the all-tasks list share their numbers.
#pragma once

// Record form "Tas_Detail"
#define IDC_TASD_SEARCH_EDIT 11151
#define IDC_TASD_SEARCH      11152
#define IDC_TASD_SAVE        11153
#define IDC_TASD_CANCEL      11154
#define IDC_TASD_EDIT        11155
#define IDC_TASD_DELETE      11156
#define IDC_TASD_SUBJECT     11157
#define IDC_TASD_CONTENT     11158
#define IDC_TASD_PRIVATE     11159
#define IDC_TASD_DATE        11160
#define IDC_TASD_TIME        11161
#define IDC_TASD_FIRST       11164
#define IDC_TASD_PREV        11165
#define IDC_TASD_NEXT        11166
#define IDC_TASD_LAST        11167
#define IDC_TASD_REMIND      11168
#define IDC_TASD_COST        11169
#define IDC_TASD_MENU_NEW    11170
#define IDC_TASD_CLOSED      11171
#define IDC_TASD_MENU_ALL    11172
#define IDC_TASD_MENU_TODAY  11173
#define IDC_TASD_MENU_DAY    11174
#define IDC_TASD_MENU_WEEK   11175
#define IDC_TASD_MENU_MONTH  11176
#define IDC_TASD_HELP        11177
#define IDC_TASD_MENU_CLOSED 11178

// Day view "Tas_Homepage"
#define IDC_TASH_SEARCH_EDIT 11201
#define IDC_TASH_SEARCH      11202
#define IDC_TASH_LIST        11203
#define IDC_TASH_MENU_NEW    11204
#define IDC_TASH_PICKER      11205
#define IDC_TASH_PREV        11206
#define IDC_TASH_NEXT        11207
#define IDC_TASH_MENU_ALL    11208
#define IDC_TASH_MENU_TODAY  11209
#define IDC_TASH_MENU_DAY    11210
#define IDC_TASH_MENU_WEEK   11211
#define IDC_TASH_MENU_MONTH  11212
#define IDC_TASH_HELP        11213
#define IDC_TASH_MENU_CLOSED 11214

// All tasks "Tas_ListAll"
#define IDC_TASL_SEARCH_EDIT 11201
#define IDC_TASL_SEARCH      11202
#define IDC_TASL_LIST        11203
#define IDC_TASL_MENU_NEW    11204
#define IDC_TASL_MENU_ALL    11205
#define IDC_TASL_MENU_TODAY  11206
#define IDC_TASL_MENU_DAY    11207
#define IDC_TASL_MENU_WEEK   11208
#define IDC_TASL_MENU_MONTH  11209
#define IDC_TASL_HELP        11210
#define IDC_TASL_MENU_CLOSED 11211

// Week view "Tas_Week"
#define IDC_TASW_SEARCH_EDIT 11251
#define IDC_TASW_SEARCH      11252
#define IDC_TASW_MENU_NEW    11254
#define IDC_TASW_PREV        11256
#define IDC_TASW_NEXT        11257
#define IDC_TASW_DAY0        11258  // Monday; Sunday is IDC_TASW_DAY0 + 6
#define IDC_TASW_MENU_ALL    11265
#define IDC_TASW_MENU_TODAY  11266
#define IDC_TASW_MENU_DAY    11267
#define IDC_TASW_MENU_WEEK   11268
#define IDC_TASW_MENU_MONTH  11269
#define IDC_TASW_HELP        11270
#define IDC_TASW_MENU_CLOSED 11271

// Month view "Tas_Month"
#define IDC_TASM_SEARCH_EDIT 11301
#define IDC_TASM_SEARCH      11302
#define IDC_TASM_MENU_NEW    11304
#define IDC_TASM_PREV        11306
#define IDC_TASM_NEXT        11307
#define IDC_TASM_CELL0       11308  // cell c is IDC_TASM_CELL0 + c, c = 0 .. 41
#define IDC_TASM_MENU_ALL    11351
#define IDC_TASM_MENU_TODAY  11352
#define IDC_TASM_MENU_DAY    11353
#define IDC_TASM_MENU_WEEK   11354
#define IDC_TASM_MENU_MONTH  11355
#define IDC_TASM_HELP        11356
#define IDC_TASM_MENU_CLOSED 11357

// Finished and unfinished tasks "Tas_ClosedStat"
#define IDC_TASC_SEARCH_EDIT 11901
#define IDC_TASC_SEARCH      11902
#define IDC_TASC_CATEGORIES  11903
#define IDC_TASC_LIST        11904
#define IDC_TASC_EXPORT      11905
#define IDC_TASC_MENU_ALL    11906
#define IDC_TASC_MENU_TODAY  11907
#define IDC_TASC_MENU_DAY    11908
#define IDC_TASC_MENU_WEEK   11909
#define IDC_TASC_MENU_MONTH  11910
#define IDC_TASC_HELP        11911
#define IDC_TASC_MENU_CLOSED 11912
#define IDC_TASC_MENU_NEW    11913
