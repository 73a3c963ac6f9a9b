/* bngt32: gzip and tar files behind two entry points, gt (create) and ugt (read).
 *
 * Each entry point takes one command structure that the caller fills and returns
 * a result code, 0 on success. Text fields are zero-terminated strings owned by
 * the caller (UTF-8 on Linux); the library keeps nothing of the caller's memory
 * beyond the call. Numeric fields are 32 bits wide; pointer fields are pointers,
 * so on a 64-bit build the structures are larger than their 32-bit sizes (196 and
 * 172 bytes): set the size fields from GTCMDSTRUCT_SIZE and UGTCMDSTRUCT_SIZE. */
#ifndef BNGT32_H
#define BNGT32_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#define BNGT32_CALLBACK __stdcall
#if defined(BNGT32_BUILDING)
#define BNGT32_API __declspec(dllexport)
#else
#define BNGT32_API __declspec(dllimport)
#endif
#else
#define BNGT32_CALLBACK
#define BNGT32_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Result codes. gt code N has message number 256 + N, ugt code N 800 + N. */
enum {
  GT_SUCCESS = 0,
  GT_UNEXPECTED_EOF = 1,
  GT_BUSY = 2,
  GT_BAD_STRUCTURE = 3,
  GT_OUT_OF_MEMORY = 4,
  GT_ABORTED = 5,
  GT_NO_MATCH = 6,
  GT_FILE_OPEN_ERROR = 7,
  GT_FILE_CREATE_ERROR = 8,
  GT_FILE_READ_ERROR = 9,
  GT_FILE_WRITE_ERROR = 10,
  GT_BAD_PARAMETERS = 11,
  GT_INDEX_OUT_OF_BOUNDS = 12,
  GT_TEMP_FILE_ERROR = 13,
  GT_MISSING_FILE_NAME = 14,
  GT_INCOMPLETE = 15,
  /* ugt only, where its meaning differs from gt */
  UGT_BAD_CRC = 13,
  UGT_BAD_DECRYPTION_KEY = 14,
  UGT_FILE_SKIPPED = 15,
  UGT_UNKNOWN_METHOD = 16,
  UGT_DISK_FULL = 17
};

/* gt functions (lFunction) */
enum {
  GT_FUNCTION_GZIP = 1,          /* each item into its own gzip file */
  GT_FUNCTION_TAR = 2,           /* create a tar archive or add to it */
  GT_FUNCTION_TAR_DELETE = 3,    /* delete items by list or by lIndex */
  GT_FUNCTION_GZIP_TO_FILE = 4,  /* as 1, lpszGTFile required */
  GT_FUNCTION_MEM_TO_MEM = 5,    /* memory to memory through the callback block */
  GT_FUNCTION_GZIP_TO_MEM = 6,   /* gzip bytes of one file through the callback block */
  GT_FUNCTION_TAR_ALT = 7        /* as 2 */
};

/* ugt functions (lFunction) */
enum {
  UGT_FUNCTION_GUNZIP = 1,
  UGT_FUNCTION_UNTAR = 2,
  UGT_FUNCTION_GUNZIP_TO_MEM = 3,
  UGT_FUNCTION_GUNZIP_TO_CALLBACK = 4,
  UGT_FUNCTION_GUNZIP_TO_MEM_ALT = 5,
  UGT_FUNCTION_UNTAR_ALT1 = 6,
  UGT_FUNCTION_UNTAR_ALT2 = 7,
  UGT_FUNCTION_COUNT = 8,
  UGT_FUNCTION_COUNT_MATCHING = 9,
  UGT_FUNCTION_GZIP_INFO = 10,
  UGT_FUNCTION_TAR_FIRST = 11,
  UGT_FUNCTION_TAR_NEXT = 12,
  UGT_FUNCTION_TAR_FIND_FIRST = 13,
  UGT_FUNCTION_TAR_FIND_NEXT = 14,
  UGT_FUNCTION_TAR_BY_INDEX = 15
};

/* Sub-option bits (dwGTSubOptions, dwUGTSubOptions) */
#define GT_SUBOPT_STRIP_BASE_FOLDER (1u << 0)   /* gt; ugt: delete an existing output first */
#define GT_SUBOPT_MINOR_CANCELS (1u << 1)
#define GT_SUBOPT_SKIP_NON_83 (1u << 4)
#define GT_SUBOPT_SHORTEN_TO_83 (1u << 5)
#define GT_SUBOPT_READABLE_ONLY (1u << 6)       /* gt; ugt: keep a partial output */
#define GT_SUBOPT_EVENT_LOG (1u << 8)
#define GT_SUBOPT_ARCHIVE_ONLY (1u << 9)
#define GT_SUBOPT_CLEAR_ARCHIVE (1u << 10)
#define GT_SUBOPT_NO_MESSAGE_PUMP (1u << 14)
#define UGT_SUBOPT_DELETE_EXISTING (1u << 0)
#define UGT_SUBOPT_KEEP_PARTIAL (1u << 6)

/* File attribute bits as recorded for items */
#define GT_ATTR_READONLY 0x01u
#define GT_ATTR_HIDDEN 0x02u
#define GT_ATTR_SYSTEM 0x04u
#define GT_ATTR_DIRECTORY 0x10u
#define GT_ATTR_ARCHIVE 0x20u

/* Major status: (text, percentage 0-100, kind, user data); non-zero stops the
 * operation with code 5. */
typedef int32_t(BNGT32_CALLBACK* GTMAJORSTATUSPROC)(const char* text, int32_t percent,
                                                     int32_t kind, void* userData);
/* Minor status: (item name, percentage of the item done, kind, user data); a
 * non-zero return cancels only with sub-option bit 1. */
typedef int32_t(BNGT32_CALLBACK* GTMINORSTATUSPROC)(const char* itemName, int32_t percent,
                                                     int32_t kind, void* userData);
/* Message display: type 7 lets the caller rewrite a looked-up text in place
 * (260-byte buffer, return ignored); other types precede a message box and a
 * return the box's buttons allow is taken as its answer, no box shown. */
typedef int32_t(BNGT32_CALLBACK* GTMESSAGEDISPLAYPROC)(int32_t type, uint32_t buttonFlags,
                                                        int32_t code, int32_t extra, char* text,
                                                        char* caption, void* userData);

/* The item record handed to the rename callback before each item is written.
 * Holds no pointers: 628 bytes on every build. */
typedef struct GTRENAMESTRUCT {
  uint32_t ulStructSize;   /* 628 */
  char szStoredName[260];  /* may be changed by the callback */
  char szSourcePath[260];
  char szDateTime[64];     /* local time "MM/DD/YYYY hh:mm:ss", may be changed */
  uint32_t dwAttributes;   /* GT_ATTR_* bits; read-only, hidden, system, archive may be changed */
  int32_t lKind;           /* gt: 2 gzip, 1 tar; ugt: 2 gzip, 1 tar */
  uint8_t abReserved[32];
} GTRENAMESTRUCT;

/* Rename callback: (item record, user data); the return value is ignored. */
typedef int32_t(BNGT32_CALLBACK* GTRENAMEPROC)(GTRENAMESTRUCT* item, void* userData);

/* Memory data callback of the callback block. request 0: fill buffer with up to
 * size bytes of input, return the count (0 at the end, negative on error);
 * request 1: take size bytes of output from buffer, return 0 (non-zero fails). */
typedef int32_t(BNGT32_CALLBACK* GTMEMDATAPROC)(int32_t request, void* buffer, int32_t size,
                                                void* userData);

#define GT_MEMREQUEST_READ 0
#define GT_MEMREQUEST_WRITE 1

/* Callback block for the memory functions: words 2 and 3 a function and its user
 * data (gt and ugt), words 4 and 5 a second pair (ugt, unused here). */
typedef struct GTCALLBACKSTRUCT {
  uint32_t ulStructSize;
  GTMEMDATAPROC lpDataProc;
  void* lpDataUserData;
  GTMEMDATAPROC lpDataProc2;
  void* lpDataUserData2;
} GTCALLBACKSTRUCT;

/* Creation command structure, passed to gt. */
typedef struct GTCMDSTRUCT {
  uint32_t ulgtStructSize;         /* GTCMDSTRUCT_SIZE, else code 11 */
  int32_t lFunction;               /* GT_FUNCTION_* */
  const char* lpszGTFile;          /* target gzip or tar file, may be quoted */
  const char* lpszItemList;        /* names or patterns separated by blanks; quotes group */
  const char* lpszDestination;     /* output folder of function 1 without lpszGTFile */
  const char* lpszTempPath;        /* temporary folder; default the folder of lpszGTFile */
  int32_t lIndex;                  /* item to delete (function 3) */
  int32_t bResv1;
  int32_t bResv2;
  int32_t bAllQuiet;               /* no message boxes */
  int32_t bRecurseFlag;            /* patterns search sub-folders */
  int32_t lCompFactor;             /* level, clamped to 1..9 */
  int32_t bNoDirectoryNames;       /* store file names without folders */
  int32_t bResv3;
  int32_t bLFtoCRLF;               /* store each LF as CR LF */
  int32_t bGrowExistingFlag;       /* tar: work on the archive in place */
  int32_t bAddComment;             /* write lpszComment into the gzip header */
  const char* lpszComment;
  int32_t bInclDate;               /* keep items dated between the two days */
  int32_t bExclDate;               /* drop items dated between the two days */
  const char* lpszDate1;           /* MMDDYYYY, from 00:00:00 */
  const char* lpszDate2;           /* MMDDYYYY, up to 23:59:59 */
  const char* lpszIncludeList;     /* patterns a stored name must match */
  const char* lpszExludeList;      /* patterns whose matches are dropped */
  int32_t bDosify;                 /* store names in upper case */
  int32_t bIncludeSysHidden;       /* also take hidden files and folders */
  int32_t bDiagnosticLog;          /* write the diagnostic log of this call */
  int32_t bEncryptFlag;            /* refused: "encryption not supported" */
  const char* lpszEncryptCode;
  uint32_t dwGTSubOptions;         /* GT_SUBOPT_* */
  void* lpMemBlock;                /* data of the single item, when given */
  int32_t lMemBlockSize;
  GTMAJORSTATUSPROC lpMajorStatus;
  void* lpMajorUserData;
  GTMINORSTATUSPROC lpMinorStatus;
  void* lpMinorUserData;
  GTMESSAGEDISPLAYPROC lpMessageDisplay;
  void* lpMessageDisplayData;
  GTRENAMEPROC lpRenameProc;
  void* lpRenameUserData;
  GTCALLBACKSTRUCT* lpCallbackStruct;
  int32_t lResv1;
  int32_t lResv2;
  int32_t lResv3;
  int32_t lResv4;
  int32_t lResv5;
  int32_t lResv6;
  int32_t lResv7;
  int32_t lResv8;
} GTCMDSTRUCT;

/* Reading command structure, passed to ugt. */
typedef struct UGTCMDSTRUCT {
  uint32_t ulugtStructSize;        /* UGTCMDSTRUCT_SIZE, else code 11 */
  int32_t lFunction;               /* UGT_FUNCTION_* */
  const char* lpszGTFile;          /* gzip or tar file to read */
  const char* lpszFilespec;        /* patterns selecting tar items; empty selects all */
  const char* lpszDestination;     /* output folder, an absolute path */
  void* gzipInfo;                  /* GZIPINFO for function 10 */
  void* tarInfo;                   /* TARINFO for functions 11 to 15 */
  int32_t lIndex;                  /* item index; -1 all matching items */
  int32_t bFreshenFlag;
  int32_t bUpdateFlag;
  int32_t bOverWriteFlag;          /* overwrite existing files without asking */
  int32_t bAllQuiet;               /* no message boxes */
  int32_t TestFlag;                /* test integrity, write nothing */
  int32_t bNoDirectoryNames;       /* extract without folders */
  int32_t bResv1;
  int32_t bRecurseFlag;
  int32_t bDiagnosticLog;
  int32_t bLFtoCRLF;               /* write each LF as CR LF */
  int32_t bDecryptFlag;
  const char* lpszDecryptCode;
  int32_t lReturnCount;            /* output: items processed or found */
  char* lpszReturnString;          /* not written: the structure gives no buffer size */
  uint32_t dwUGTSubOptions;        /* GT_SUBOPT_* and UGT_SUBOPT_* */
  void* lpMemBlock;                /* output block of functions 3 and 5 */
  int32_t lMemBlockSize;
  int32_t lStartingOffset;         /* where in the block output begins */
  GTMINORSTATUSPROC lpMinorStatus;
  void* lpMinorUserData;
  GTMAJORSTATUSPROC lpMajorStatus;
  void* lpMajorUserData;
  GTMESSAGEDISPLAYPROC lpMessageDisplay;
  void* lpMessageDisplayData;
  GTRENAMEPROC lpRenameProc;
  void* lpRenameUserData;
  GTCALLBACKSTRUCT* lpCallbackStruct;
  int32_t lResv1;
  int32_t lResv2;
  int32_t lResv3;
  int32_t lResv4;
  int32_t lResv5;
  int32_t lResv6;
  int32_t lResv7;
  int32_t lResv8;
} UGTCMDSTRUCT;

/* gzip information record filled by ugt function 10 (396 bytes). */
typedef struct GZIPINFO {
  uint32_t ulStructSize;           /* 396 */
  uint32_t dwMethod;               /* CM */
  uint32_t dwFlags;                /* FLG */
  uint32_t dwModTime;              /* MTIME, seconds since 1970 UTC */
  uint32_t dwExtraFlags;           /* XFL */
  uint32_t dwOS;
  uint32_t dwCRC;                  /* trailer CRC-32 */
  uint32_t dwOriginalSize;         /* trailer ISIZE */
  uint32_t dwCompressedSize;       /* bytes between header and trailer */
  char szName[260];                /* stored name, or the name derived from the file */
  char szDateTime[64];             /* MTIME as local "MM/DD/YYYY hh:mm:ss" */
  uint32_t dwReserved[9];
} GZIPINFO;

/* tar item information record filled by ugt functions 11 to 15 (824 bytes). */
typedef struct TARINFO {
  uint32_t ulStructSize;           /* 824 */
  int32_t lIndex;                  /* position in the archive, from 0 */
  uint32_t dwSize;                 /* data bytes (low 32 bits) */
  uint32_t dwModTime;              /* seconds since 1970 UTC */
  uint32_t dwMode;                 /* permission bits */
  uint32_t dwAttributes;           /* GT_ATTR_* */
  uint32_t dwTypeFlag;             /* the header's type character */
  uint32_t dwHeaderOffset;         /* header position in the archive (low 32 bits) */
  char szName[260];                /* prefix and name joined, "/" separators */
  char szDateTime[64];
  uint8_t abReserved[468];
} TARINFO;

/* Boxes and the two dialogs of the library, as the host shows them. Without a
 * presenter the texts go to standard error and each box takes its default answer. */
typedef struct GTPRESENTER {
  uint32_t ulStructSize; /* sizeof(GTPRESENTER) */
  /* A message box; returns the button pressed (1 OK, 2 Cancel, 6 Yes, 7 No...). */
  int32_t(BNGT32_CALLBACK* lpMessageBox)(const char* text, const char* caption,
                                         uint32_t buttonFlags, void* userData);
  /* The overwrite dialog; returns 6 Yes, 100 Yes to All, 101 Rename, 7 No, 2 Cancel. */
  int32_t(BNGT32_CALLBACK* lpOverwriteDialog)(const char* question, const char* caption,
                                              void* userData);
  /* The rename dialog: writes the chosen path into newPath (at most size bytes with
   * its zero); returns non-zero when a path was chosen, 0 when cancelled. */
  int32_t(BNGT32_CALLBACK* lpRenameDialog)(const char* title, const char* originalPath,
                                           char* newPath, uint32_t size, void* userData);
  void* lpUserData;
} GTPRESENTER;

#define GTCMDSTRUCT_SIZE ((uint32_t)sizeof(GTCMDSTRUCT))
#define UGTCMDSTRUCT_SIZE ((uint32_t)sizeof(UGTCMDSTRUCT))
#define GTRENAMESTRUCT_SIZE 628u
#define GZIPINFO_SIZE 396u
#define TARINFO_SIZE 824u

/* Export ordinal 1: create (gzip, tar, delete from tar). */
BNGT32_API int32_t BNGT32_CALLBACK gt(const GTCMDSTRUCT* command);
/* Export ordinal 2: read (gunzip, test, untar, list). */
BNGT32_API int32_t BNGT32_CALLBACK ugt(UGTCMDSTRUCT* command);
/* Installs the process-wide presenter (copied); null restores standard error. */
BNGT32_API void BNGT32_CALLBACK gtSetPresenter(const GTPRESENTER* presenter);

#ifdef __cplusplus
}
#endif

/* Sizes that hold on every build, and the designed layout on a 32-bit one. */
#if defined(__cplusplus)
#define BNGT32_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define BNGT32_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif
BNGT32_STATIC_ASSERT(sizeof(GTRENAMESTRUCT) == 628, "rename record is 628 bytes");
BNGT32_STATIC_ASSERT(sizeof(GZIPINFO) == 396, "gzip information record is 396 bytes");
BNGT32_STATIC_ASSERT(sizeof(TARINFO) == 824, "tar information record is 824 bytes");
#if UINTPTR_MAX == 0xFFFFFFFFu
BNGT32_STATIC_ASSERT(sizeof(GTCMDSTRUCT) == 196, "GTCMDSTRUCT is 196 bytes");
BNGT32_STATIC_ASSERT(offsetof(GTCMDSTRUCT, lpszGTFile) == 8, "lpszGTFile at 8");
BNGT32_STATIC_ASSERT(offsetof(GTCMDSTRUCT, lIndex) == 24, "lIndex at 24");
BNGT32_STATIC_ASSERT(offsetof(GTCMDSTRUCT, bAllQuiet) == 36, "bAllQuiet at 36");
BNGT32_STATIC_ASSERT(offsetof(GTCMDSTRUCT, lCompFactor) == 44, "lCompFactor at 44");
BNGT32_STATIC_ASSERT(offsetof(GTCMDSTRUCT, bNoDirectoryNames) == 48, "bNoDirectoryNames at 48");
BNGT32_STATIC_ASSERT(offsetof(GTCMDSTRUCT, lpszComment) == 68, "lpszComment at 68");
BNGT32_STATIC_ASSERT(offsetof(GTCMDSTRUCT, lpszExludeList) == 92, "lpszExludeList at 92");
BNGT32_STATIC_ASSERT(offsetof(GTCMDSTRUCT, bDiagnosticLog) == 104, "bDiagnosticLog at 104");
BNGT32_STATIC_ASSERT(offsetof(GTCMDSTRUCT, dwGTSubOptions) == 116, "dwGTSubOptions at 116");
BNGT32_STATIC_ASSERT(offsetof(GTCMDSTRUCT, lpMajorStatus) == 128, "lpMajorStatus at 128");
BNGT32_STATIC_ASSERT(offsetof(GTCMDSTRUCT, lpMinorStatus) == 136, "lpMinorStatus at 136");
BNGT32_STATIC_ASSERT(offsetof(GTCMDSTRUCT, lpMessageDisplay) == 144, "lpMessageDisplay at 144");
BNGT32_STATIC_ASSERT(offsetof(GTCMDSTRUCT, lpRenameProc) == 152, "lpRenameProc at 152");
BNGT32_STATIC_ASSERT(offsetof(GTCMDSTRUCT, lpCallbackStruct) == 160, "lpCallbackStruct at 160");
BNGT32_STATIC_ASSERT(offsetof(GTCMDSTRUCT, lResv1) == 164, "lResv1 at 164");
BNGT32_STATIC_ASSERT(offsetof(GTCMDSTRUCT, lResv8) == 192, "lResv8 at 192");
BNGT32_STATIC_ASSERT(sizeof(UGTCMDSTRUCT) == 172, "UGTCMDSTRUCT is 172 bytes");
BNGT32_STATIC_ASSERT(offsetof(UGTCMDSTRUCT, gzipInfo) == 20, "gzipInfo at 20");
BNGT32_STATIC_ASSERT(offsetof(UGTCMDSTRUCT, lIndex) == 28, "lIndex at 28");
BNGT32_STATIC_ASSERT(offsetof(UGTCMDSTRUCT, bAllQuiet) == 44, "bAllQuiet at 44");
BNGT32_STATIC_ASSERT(offsetof(UGTCMDSTRUCT, TestFlag) == 48, "TestFlag at 48");
BNGT32_STATIC_ASSERT(offsetof(UGTCMDSTRUCT, lpszDecryptCode) == 76, "lpszDecryptCode at 76");
BNGT32_STATIC_ASSERT(offsetof(UGTCMDSTRUCT, lReturnCount) == 80, "lReturnCount at 80");
BNGT32_STATIC_ASSERT(offsetof(UGTCMDSTRUCT, dwUGTSubOptions) == 88, "dwUGTSubOptions at 88");
BNGT32_STATIC_ASSERT(offsetof(UGTCMDSTRUCT, lStartingOffset) == 100, "lStartingOffset at 100");
BNGT32_STATIC_ASSERT(offsetof(UGTCMDSTRUCT, lpMinorStatus) == 104, "lpMinorStatus at 104");
BNGT32_STATIC_ASSERT(offsetof(UGTCMDSTRUCT, lpMajorStatus) == 112, "lpMajorStatus at 112");
BNGT32_STATIC_ASSERT(offsetof(UGTCMDSTRUCT, lpMessageDisplay) == 120, "lpMessageDisplay at 120");
BNGT32_STATIC_ASSERT(offsetof(UGTCMDSTRUCT, lpRenameProc) == 128, "lpRenameProc at 128");
BNGT32_STATIC_ASSERT(offsetof(UGTCMDSTRUCT, lpCallbackStruct) == 136, "lpCallbackStruct at 136");
BNGT32_STATIC_ASSERT(offsetof(UGTCMDSTRUCT, lResv1) == 140, "lResv1 at 140");
BNGT32_STATIC_ASSERT(offsetof(UGTCMDSTRUCT, lResv8) == 168, "lResv8 at 168");
#endif

#endif /* BNGT32_H */
