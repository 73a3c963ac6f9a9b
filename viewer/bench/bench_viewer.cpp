// Benchmark of the viewer on a large file: opening it and showing its first
// person, and moving a relative to the centre, through the document alone
// and through the main window (offscreen).
//   viewer_bench [FILE]   FILE defaults to a ~100 MB file built from
//                         royal92.ged with renamed cross-references.
#include <sys/resource.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include <kintrail/winnow/winnowgedcom.h>

#include "familytree.h"
#include "fprincipal.h"
#include "texttable.h"
#include "viewerdocument.h"

namespace {

// Copies of royal92's records, each copy's cross-references prefixed with
// its number, until the file holds `targetBytes`.
bool BuildLargeFile(const QString& path, qint64 targetBytes) {
  QFile source(QStringLiteral(KINTRAIL_TESTDATA_DIR "/gedcom/royal92.ged"));
  if (!source.open(QIODevice::ReadOnly)) return false;
  const std::string text = source.readAll().toStdString();
  const size_t bodyStart = text.find("\n0 @");
  const size_t bodyEnd = text.rfind("\n0 TRLR");
  const std::string header = text.substr(0, bodyStart + 1);
  const std::string body = text.substr(bodyStart + 1, bodyEnd - bodyStart);
  QFile out(path);
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  out.write(header.data(), static_cast<qint64>(header.size()));
  for (int copy = 0; out.size() < targetBytes; ++copy) {
    const std::string prefix = "@X" + std::to_string(copy) + "_";
    std::string renamed;
    renamed.reserve(body.size() + body.size() / 8);
    for (size_t i = 0; i < body.size(); ++i) {
      // An "@" that opens a cross-reference: the next one closes it.
      if (body[i] == '@' && i + 1 < body.size() && body[i + 1] != '@' && body[i + 1] != ' ') {
        const size_t close = body.find('@', i + 1);
        const size_t lineEnd = body.find('\n', i);
        if (close != std::string::npos && close < lineEnd) {
          renamed += prefix;
          renamed.append(body, i + 1, close - i);
          i = close;
          continue;
        }
      }
      renamed += body[i];
    }
    out.write(renamed.data(), static_cast<qint64>(renamed.size()));
  }
  out.write("0 TRLR\n");
  return true;
}

double Milliseconds(const QElapsedTimer& timer) {
  return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// CPU time of this thread: on a busy machine the wall clock also counts the
// time other processes had the core.
double ThreadCpuMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

struct Spread {
  double first, median, p95, worst;
};
Spread Summarise(std::vector<double> times) {
  const double first = times.front();
  std::sort(times.begin(), times.end());
  return {first, times[times.size() / 2], times[times.size() * 95 / 100], times.back()};
}

long MaxResidentMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  kt::winnow::SetProcessMessagesCallback([](void*) { QCoreApplication::processEvents(); });
  ktviewer::SetLanguageTexts(ktviewer::kEnglish);

  QString path = argc > 1 ? QString::fromLocal8Bit(argv[1])
                          : QStringLiteral(KINTRAIL_BINARY_DIR "/viewer-bench-100mb.ged");
  if (!QFileInfo::exists(path)) {
    std::printf("building %s ...\n", qPrintable(path));
    if (!BuildLargeFile(path, 100LL * 1024 * 1024)) {
      std::fprintf(stderr, "cannot build %s\n", qPrintable(path));
      return 1;
    }
  }
  std::printf("file: %s, %.1f MB\n", qPrintable(path), QFileInfo(path).size() / 1048576.0);

  // The document alone.
  {
    ktviewer::ViewerDocument document;
    ktviewer::FamilyTree tree(document);
    QElapsedTimer timer;
    timer.start();
    document.LoadGedcomFile(path);
    const double load = Milliseconds(timer);
    timer.restart();
    tree.SetInfos(0);
    QString texts;
    for (int k = 0; k < ktviewer::kShownAncestors; ++k)
      texts += tree.ShowIndividual(tree.ascendants()[k]);
    const double first = Milliseconds(timer);
    std::printf("document: %d individuals, %d unions; load %.0f ms, first person %.3f ms\n",
                document.individualNumber(), document.unionNumber(), load, first);

    // Moves to people spread over the file, the last ones included.
    std::vector<double> moves;
    const int32_t count = document.IndividualCount();
    for (int i = 0; i < 200; ++i) {
      const int32_t who =
          count - 1 - static_cast<int32_t>((static_cast<int64_t>(i) * 7919) % count);
      timer.restart();
      tree.SetInfos(who);
      for (int k = 0; k < ktviewer::kShownAncestors; ++k)
        texts += tree.ShowIndividual(tree.ascendants()[k]);
      moves.push_back(Milliseconds(timer));
      if (texts.size() > 1 << 20) texts.clear();
    }
    const Spread spread = Summarise(moves);
    std::printf(
        "document: move (tree and box texts) first %.3f, median %.3f, 95%% %.3f, worst %.3f ms"
        " over %zu moves\n",
        spread.first, spread.median, spread.p95, spread.worst, moves.size());
  }

  // The main window, offscreen: progress window, event pump and drawing.
  {
    ktviewer::FPrincipal window;
    ktviewer::FPrincipal::SetSplashRunnerForTests([] {});
    window.Start(QString());
    QElapsedTimer timer;
    timer.start();
    window.LoadGedcomFile(path);
    QApplication::processEvents();
    const double open = Milliseconds(timer);
    std::printf("window: open and show the first person %.0f ms\n", open);
    std::vector<double> moves, cpu;
    for (int i = 0; i < 100; ++i) {
      const int k = 1 + i % 6;
      const bool up = window.tree().ascendants()[k] >= 0;
      timer.restart();
      const double cpuStart = ThreadCpuMilliseconds();
      if (up)
        window.LIndivClick(k);
      else
        window.SetInfos(window.document().IndividualCount() - 1 - i * 3001);
      QApplication::processEvents();
      moves.push_back(Milliseconds(timer));
      cpu.push_back(ThreadCpuMilliseconds() - cpuStart);
    }
    const Spread spread = Summarise(moves);
    std::printf(
        "window: move (click, redraw) wall: first %.3f, median %.3f, 95%% %.3f, worst %.3f ms"
        " over %zu moves\n",
        spread.first, spread.median, spread.p95, spread.worst, moves.size());
    const Spread cpuSpread = Summarise(cpu);
    std::printf(
        "window: move (click, redraw) thread CPU: first %.3f, median %.3f, 95%% %.3f, worst %.3f "
        "ms\n",
        cpuSpread.first, cpuSpread.median, cpuSpread.p95, cpuSpread.worst);
  }
  std::printf("peak resident memory: %ld MB\n", MaxResidentMegabytes());
  return 0;
}
