#include "extractoutput.h"

#include <sys/stat.h>
#include <unistd.h>

#include <strings.h>

#include "bngt32.h"
#include "callcontext.h"
#include "catalogue.h"
#include "fileops.h"
#include "itemlist.h"
#include "itemrecord.h"
#include "pathsafety.h"

namespace bngt32 {

ExtractSettings ExtractSettingsOf(const UGTCMDSTRUCT& command, const std::string& destination,
                                  const std::string& archivePath) {
  ExtractSettings settings;
  settings.destination = destination;
  settings.archivePath = archivePath;
  settings.test = command.TestFlag != 0;
  settings.overwrite = command.bOverWriteFlag != 0;
  settings.noDirectoryNames = command.bNoDirectoryNames != 0;
  settings.lfToCrlf = command.bLFtoCRLF != 0;
  settings.freshen = command.bFreshenFlag != 0;
  settings.update = command.bUpdateFlag != 0;
  settings.subOptions = command.dwUGTSubOptions;
  return settings;
}
namespace {

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa{}, sb{};
  if (::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0) {
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  }
  return ::strcasecmp(a.c_str(), b.c_str()) == 0;
}

// Execute bits of a tar item are kept where the file may be read.
void ApplyMode(const std::string& path, uint32_t mode) {
  if ((mode & 0100) == 0) return;
  struct stat st{};
  if (::stat(path.c_str(), &st) != 0) return;
  const mode_t readable = st.st_mode & 0444;
  ::chmod(path.c_str(), (st.st_mode & 07777) | (readable >> 2));
}

}  // namespace

ExtractOutcome ExtractItem(Call& call, const ExtractSettings& settings,
                           const ExtractItemRequest& request, const ItemDecoder& decode) {
  ExtractOutcome outcome;
  std::string name = NormalizeSeparators(request.storedName);
  if (settings.noDirectoryNames) name = FileNameOf(name);
  if ((settings.subOptions & GT_SUBOPT_SKIP_NON_83) && !IsShortName(FileNameOf(name))) {
    outcome.code = 15;
    return outcome;
  }
  if (settings.subOptions & GT_SUBOPT_SHORTEN_TO_83) name = ShortenPath(name);

  if (settings.test) {
    NullSink none;
    outcome.code = decode(none);
    if (outcome.code != 0) {
      outcome.detail = name;
      return outcome;
    }
    call.Event(kMsgEventTested, name);
    outcome.done = true;
    return outcome;
  }

  ItemFields fields{name, settings.archivePath, request.mtime, request.attributes};
  OfferToRenameCallback(call, request.kind, fields);
  name = NormalizeSeparators(fields.storedName);
  if (!IsSafeRelativeName(name)) {
    outcome.code = 3;
    outcome.detail = fields.storedName;
    return outcome;
  }
  std::string output = settings.destination + name;
  if (!CreateMissingFolders(settings.destination)) {
    outcome.code = 8;
    outcome.detail = settings.destination;
    return outcome;
  }
  if (const int32_t code = PrepareFoldersInside(settings.destination, FolderOf(name)); code != 0) {
    outcome.code = code;
    outcome.detail = output;
    return outcome;
  }
  if (SameFile(output, settings.archivePath)) {
    outcome.code = 15;
    outcome.detail = call.Text(kMsgOntoItself);
    call.Report(15, outcome.detail);
    return outcome;
  }

  FileInfo existing = StatFile(output);
  bool replacing = existing.exists;
  if (settings.freshen || settings.update) {
    const bool wanted = existing.exists ? existing.mtime < fields.mtime : settings.update;
    if (!wanted) {
      call.Event(kMsgEventSkipped, output);
      outcome.code = 15;
      return outcome;
    }
  }
  if (existing.exists) {
    bool overwrite = settings.overwrite || call.yesToAll;
    if (!overwrite && call.Settings().allQuiet) {
      call.Event(kMsgEventSkipped, output);
      outcome.code = 15;
      return outcome;
    }
    while (!overwrite) {
      const bool readOnly = (existing.attributes & GT_ATTR_READONLY) != 0;
      const int32_t answer = call.AskOverwrite(
          call.Format(readOnly ? kMsgOverwriteReadOnlyQuestion : kMsgOverwriteQuestion, output));
      if (answer == kAnswerYes) {
        overwrite = true;
      } else if (answer == kAnswerYesToAll) {
        call.yesToAll = true;
        overwrite = true;
      } else if (answer == kAnswerCancel) {
        outcome.code = 5;
        return outcome;
      } else if (answer == kAnswerRename) {
        const std::string chosen = call.AskRename(output);
        if (chosen.empty()) {
          call.Event(kMsgEventSkipped, output);
          outcome.code = 15;
          return outcome;
        }
        output = AbsolutePath(chosen);
        if (!CreateMissingFolders(FolderOf(output))) {
          outcome.code = 8;
          outcome.detail = output;
          return outcome;
        }
        existing = StatFile(output);
        replacing = existing.exists;
        overwrite = true;  // the chosen name is written even when it exists
      } else {
        call.Event(kMsgEventSkipped, output);
        outcome.code = 15;
        return outcome;
      }
    }
    if (existing.exists && existing.isDirectory && !existing.isSymlink) {
      outcome.code = 8;
      outcome.detail = output;
      return outcome;
    }
    if ((settings.subOptions & UGT_SUBOPT_DELETE_EXISTING) && existing.exists) {
      // A link is removed itself; what it points to is left alone.
      if (!existing.isSymlink) ApplyReadOnly(output, false);
      if (::unlink(output.c_str()) != 0) {
        outcome.code = 8;
        outcome.detail = output;
        return outcome;
      }
    }
  }

  // The data goes to a temporary file beside the output and replaces it only
  // when complete: a failure never leaves half a file under the item's name.
  TempFile temp;
  if (!CreateTempFile(FolderOf(output), temp)) {
    outcome.code = 8;
    outcome.detail = output;
    return outcome;
  }
  FileSink fileSink(temp.fd);
  CrlfSink crlfSink(fileSink);
  ByteSink& sink = settings.lfToCrlf ? static_cast<ByteSink&>(crlfSink) : fileSink;
  int32_t code = decode(sink);
  if (::close(temp.fd) != 0 && code == 0) code = 17;
  temp.fd = -1;
  if (code != 0) {
    if (settings.subOptions & UGT_SUBOPT_KEEP_PARTIAL) {
      ReplaceWithTemp(temp.path, output);
    }
    ::unlink(temp.path.c_str());
    outcome.code = code;
    outcome.detail = output;
    return outcome;
  }
  if (const int32_t replaced = ReplaceWithTemp(temp.path, output); replaced != 0) {
    ::unlink(temp.path.c_str());
    outcome.code = replaced == 10 ? 17 : 8;
    outcome.detail = output;
    return outcome;
  }
  ApplyMode(output, request.mode);
  ApplyReadOnly(output, (fields.attributes & GT_ATTR_READONLY) != 0);
  SetFileTimes(output, fields.mtime);
  call.Event(replacing ? kMsgEventOverwritten : kMsgEventExtracted, output);
  outcome.done = true;
  return outcome;
}

}  // namespace bngt32
