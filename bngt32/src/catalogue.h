#pragma once
// The numbered message catalogue: every text the library shows or writes.
#include <cstdint>

namespace bngt32 {

// Message numbers the code refers to by name.
enum Message : int32_t {
  kMsgAlertCaption = 102,
  kMsgWarningCaption = 103,
  kMsgErrorCaption = 105,
  kMsgDiagnosticLogFile = 106,
  kMsgCouldNotOpenForReading = 151,
  kMsgEncryptionNotSupported = 155,
  kMsgInvalidDate = 157,
  kMsgInvalidOptions = 160,
  kMsgAllocatingTempFilename = 161,
  kMsgWasAddingFiles = 162,
  kMsgWasReplacingOriginal = 163,
  kMsgWasAboutToCompress = 164,
  kMsgGtResponse = 165,
  kMsgDiagnosticHeader = 190,
  kMsgGtFieldFormatFirst = 191,
  kMsgCantTranslateEol = 334,
  kMsgGtItemOfTotal = 391,
  kMsgOutputBufferTooSmall = 403,
  kMsgFileOpenErrorBox = 600,
  kMsgProcessingItemList = 700,
  kMsgEventLogFile = 701,
  kMsgEventLogHeader = 702,
  kMsgEventAdded = 703,
  kMsgEventDeleted = 704,
  kMsgEventMemory = 705,
  kMsgEventMemoryToMemory = 707,
  kMsgGtResultBase = 256,
  kMsgUgtResultBase = 800,
  kMsgOverwriteQuestion = 851,
  kMsgUgtItemOfTotal = 853,
  kMsgExtracting = 854,
  kMsgTesting = 855,
  kMsgReturnCountLine = 856,
  kMsgReturnStringLine = 857,
  kMsgFilenameNotProvided = 877,
  kMsgNoMoreItems = 880,
  kMsgNeedDestinationToFreshen = 881,
  kMsgDestinationMustBeAbsolute = 883,
  kMsgGzipTarFilenameNotProvided = 884,
  kMsgIndexOutOfRange = 886,
  kMsgUgtSizeIncorrect = 887,
  kMsgFreshenAndUpdate = 888,
  kMsgDecryptionKey = 889,
  kMsgDestinationNotProvided = 890,
  kMsgUnknownFunction = 891,
  kMsgItemListNotProvided = 892,
  kMsgOntoItself = 895,
  kMsgOverwriteReadOnlyQuestion = 897,
  kMsgQuotesMismatched = 898,
  kMsgInconsistentFileToMem = 900,
  kMsgRenameRequest = 902,
  kMsgEventExtracted = 903,
  kMsgEventTested = 904,
  kMsgEventOverwritten = 905,
  kMsgEventSkipped = 906,
  kMsgUgtResponse = 907,
  kMsgNoItemsMatch = 909,
  kMsgGzipInfoInvalid = 912,
  kMsgTarInfoInvalid = 913,
};

// The catalogue's text for `number`, or "" when the catalogue has none.
const char* CatalogueText(int32_t number);

// Diagnostic-log format numbers of the reading structure's fields, in field
// order, 0 where a field has none.
const int32_t* UgtFieldFormatNumbers();  // 43 entries

}  // namespace bngt32
