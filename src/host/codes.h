// Named host codes: property numbers, object types, text item types, offset
// codes, alert types, open settings, notifications and function codes. The
// values are the host's; the names say what the plug-in uses them for.
#ifndef VELTRANO_HOST_CODES_H
#define VELTRANO_HOST_CODES_H

#include <cstdint>

namespace host {

// ---- Properties shared by many objects ----
inline constexpr int kPropName = 20;  // name, tag (paragraph), or full path (document, book,
                                      // component)

// ---- Host-level properties (object 0 of document 0) ----
inline constexpr int kPropActiveDoc = 51;
inline constexpr int kPropActiveBook = 52;
inline constexpr int kPropFirstOpenDoc = 53;
inline constexpr int kPropFirstOpenBook = 54;
inline constexpr int kPropMasterBookDir = 87;  // directory the master book is named in
inline constexpr int kPropHomeDir = 89;        // where the settings and style list live
inline constexpr int kPropDisplaying = 92;     // screen display switch

// ---- Document properties ----
inline constexpr int kPropTextSelection = 109;
inline constexpr int kPropNextOpenDoc = 111;
inline constexpr int kPropFirstMarkerInDoc = 114;
inline constexpr int kPropFirstFootnoteInDoc = 119;
inline constexpr int kPropFirstTableInDoc = 120;
inline constexpr int kPropFirstFlowInDoc = 121;
inline constexpr int kPropFirstConditionInDoc = 124;
inline constexpr int kPropSelectedTable = 129;
inline constexpr int kPropFirstTextInsetInDoc = 141;
inline constexpr int kPropShowAllConditions = 155;
inline constexpr int kPropMainFlowInDoc = 422;

// ---- Book properties ----
inline constexpr int kPropBookStatusLine = 108;
inline constexpr int kPropNextOpenBook = 490;
inline constexpr int kPropFirstComponentInBook = 491;

// ---- Book component properties ----
inline constexpr int kPropComponentNumberingA = 211;  // set to 2 by the master index
inline constexpr int kPropComponentNumberingC = 212;  // set to 0 by the master index
inline constexpr int kPropComponentNumberingB = 213;  // set to 11 by the master index
inline constexpr int kPropComponentPrefix = 214;      // prefix text
inline constexpr int kPropComponentExcluded = 520;
inline constexpr int kPropNextComponent = 527;
inline constexpr int kPropGeneratedFileType = 531;
inline constexpr int kPropComponentFirstChild = 2324;
inline constexpr int kPropComponentParent = 2325;
inline constexpr int kPropComponentKind = 2329;
// Component settings the master index copies unchanged.
inline constexpr int kCopiedComponentInts[] = {523, 524, 224, 225, 525, 215, 216,
                                               217, 295, 284, 290, 324, 316};
inline constexpr int kCopiedComponentStrings[] = {218, 285, 317};

// Component kinds (kPropComponentKind) and generated-file types.
inline constexpr int kComponentFolder = 2;
inline constexpr int kComponentGroup = 64;
inline constexpr int kComponentDocument = 512;
inline constexpr int kGeneratedIndex = 7;

// ---- Paragraph properties ----
inline constexpr int kPropIndent = 556;         // metric
inline constexpr int kPropStartPosition = 567;  // 1: top of column
inline constexpr int kPropPlacement = 579;      // kPlacementRunIn: runs into the next paragraph
inline constexpr int kPropNextParagraph = 717;
inline constexpr int kPropPrevParagraph = 718;
inline constexpr int kStartTopOfColumn = 1;
inline constexpr int kPlacementRunIn = 4;

// ---- Paragraph format properties ----
inline constexpr int kPropFormat547 = 547;  // set to 1 on the entry format
inline constexpr int kPropFormat564 = 564;  // set to 0 on the entry format
inline constexpr int kPropFormatColor = 751;

// ---- Text frames, columns, flows ----
inline constexpr int kPropFirstParagraph = 972;  // of a frame, column, cell or footnote
inline constexpr int kPropLastParagraph = 973;   // of a column
inline constexpr int kPropNextFrameInFlow = 981;
inline constexpr int kPropFirstColumn = 986;
inline constexpr int kPropFlowNext = 1162;
inline constexpr int kPropFirstFrameInFlow = 1169;
inline constexpr int kPropBalanceColumns = 1175;
inline constexpr int kPropNextColumn = 2202;

// ---- Tables ----
inline constexpr int kPropNextCell = 1202;
inline constexpr int kPropCellShown = 1218;
inline constexpr int kPropNextRow = 1245;
inline constexpr int kPropFirstCell = 1247;
inline constexpr int kPropNextTable = 1337;
inline constexpr int kPropFirstRow = 1338;

// ---- Footnotes ----
inline constexpr int kPropNextFootnote = 1003;

// ---- Markers ----
inline constexpr int kPropMarkerPosition = 879;  // text location
inline constexpr int kPropMarkerText = 1025;
inline constexpr int kPropNextMarker = 1026;
inline constexpr int kPropMarkerType = 1027;

// ---- Condition tags ----
inline constexpr int kPropNextCondition = 1138;
inline constexpr int kPropConditionShown = 1139;
inline constexpr int kPropConditionColor = 1140;

// ---- Text properties ----
inline constexpr int kPropTextConditions = 1150;  // list of condition tags (kValueIds)

// ---- Text insets ----
inline constexpr int kPropNextTextInset = 2050;
inline constexpr int kPropTextInsetLocked = 2056;

// ---- Object types ----
inline constexpr int kObjBook = 2;
inline constexpr int kObjBookComponent = 3;
inline constexpr int kObjMarker = 24;
inline constexpr int kObjParagraphFormat = 32;
inline constexpr int kObjCharacterFormat = 33;
inline constexpr int kObjCondition = 34;
inline constexpr int kObjColor = 35;
inline constexpr int kObjMenu = 55;  // menu or menu bar
inline constexpr int kObjSeparator = 57;
inline constexpr int kObjMarkerType = 66;

// ---- Property value types ----
inline constexpr int kValueInt = 1;
inline constexpr int kValueMetric = 2;
inline constexpr int kValueString = 3;
inline constexpr int kValueStrings = 4;
inline constexpr int kValueId = 5;
inline constexpr int kValueTextLoc = 6;
inline constexpr int kValueTextRange = 7;
inline constexpr int kValueIds = 13;  // list of object handles

// ---- Text item types (also the filter bits of the text reads) ----
inline constexpr int kItemString = 0x0001;
inline constexpr int kItemParagraphEnd = 0x0002;
inline constexpr int kItemTableAnchor = 0x0004;
inline constexpr int kItemFootnoteAnchor = 0x0008;
inline constexpr int kItemFrameAnchor = 0x0010;
inline constexpr int kItemTextInsetBegin = 0x0020;
inline constexpr int kItemTextInsetEnd = 0x0040;
inline constexpr int kItemVariableBegin = 0x0080;
inline constexpr int kItemVariableEnd = 0x0100;
inline constexpr int kItemXRefBegin = 0x0200;
inline constexpr int kItemXRefEnd = 0x0400;
inline constexpr int kItemMarkerAnchor = 0x4000;

// ---- Offset codes ----
inline constexpr int32_t kOffsetEndOfObject = 0x50000000;  // after the end mark
inline constexpr int32_t kOffsetEndOfText = 0x4FFFFFFF;    // before the end mark

// ---- Alert types and answers ----
inline constexpr int kAlertOkCancel = 1;  // Cancel is the default; only OK goes on
inline constexpr int kAlertNote = 2;
inline constexpr int kAlertWarning = 3;
inline constexpr int kAlertAnswerOk = 0;

// ---- Close flags ----
inline constexpr int kCloseWithoutAsking = 1;

// ---- Open settings (host code, value); their meaning is the host's ----
inline constexpr int kOpenCode2 = 2;
inline constexpr int kOpenCode3 = 3;
inline constexpr int kOpenCode5 = 5;
inline constexpr int kOpenCode17 = 17;
inline constexpr int kOpenCode19 = 19;
inline constexpr int kOpenCode20 = 20;
inline constexpr int kOpenCode22 = 22;
inline constexpr int kOpenCode23 = 23;
inline constexpr int kOpenCode25 = 25;
inline constexpr int kOpenCode28 = 28;

// ---- Notifications ----
inline constexpr int kNotifyClientMessage = 13;
inline constexpr int kNotifyPostGenerate = 79;
inline constexpr int kNotificationOn = 1;

// ---- Function codes; their effect is the host's ----
inline constexpr int kFcode259 = 0x103;
inline constexpr int kFcode260 = 0x104;
inline constexpr int kFcode621 = 621;

// ---- Initialisation codes ----
inline constexpr int kInitFirst = 1;

}  // namespace host

#endif
