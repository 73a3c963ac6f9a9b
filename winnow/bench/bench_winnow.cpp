// Benchmark of the library on one large file; one measurement per process so
// that the peak memory belongs to that measurement.
//
//   winnow_bench read-keep FILE      AnalyzeGedcom keeping the record lines
//   winnow_bench read              FILE      AnalyzeGedcom without them
//   winnow_bench summary   FILE      SynthetizeGedcom + GetXMLindividuals
//   winnow_bench desc      FILE ID   GetDESC(ID) over the whole file
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include <kintrail/winnow/winnowgedcom.h>

namespace {

// A size field of /proc/self/status ("VmHWM:" the peak resident size,
// "VmRSS:" the current one), in bytes.
long long StatusBytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(field, 0) == 0) return std::stoll(line.substr(field.size())) * 1024;
  return -1;
}
long long PeakRss() { return StatusBytes("VmHWM:"); }
long long CurrentRss() { return StatusBytes("VmRSS:"); }

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double cpu = 0;  // processor time of the last Seconds() call

// Wall-clock seconds of f(); its processor time goes to `cpu`.
template <class F>
double Seconds(F&& f) {
  const double cpuStart = CpuSeconds();
  const auto start = std::chrono::steady_clock::now();
  f();
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  cpu = CpuSeconds() - cpuStart;
  return wall;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: winnow_bench read-keep|read|summary|desc FILE [ID]\n");
    return 2;
  }
  const std::string mode = argv[1];
  const std::string file = argv[2];
  const double megabytes = static_cast<double>(std::filesystem::file_size(file)) / 1e6;
  const std::string out = std::filesystem::temp_directory_path() / "winnow_bench_out.xml";
  kt::winnow::WinnowGEDCOM w;
  w.SetFilename(out);
  w.MaxIndivToRetrieve = 100000000;
  const long long before = CurrentRss();
  double seconds = 0;
  if (mode == "read-keep" || mode == "read") {
    seconds = Seconds([&] { w.AnalyzeGedcom(file, mode == "read-keep"); });
    std::printf("%s %s: %.1f MB in %.3f s = %.0f MB/s (cpu %.3f s = %.0f MB/s), %d individuals, %d marriages, "
                "peak %.0f MB (%.2f x file)\n",
                mode.c_str(), file.c_str(), megabytes, seconds, megabytes / seconds, cpu, megabytes / cpu, w.LIndividualsCount,
                w.LMarriagesCount, (PeakRss() - before) / 1e6, (PeakRss() - before) / 1e6 / megabytes);
  } else if (mode == "summary") {
    w.AnalyzeGedcom(file, false);
    seconds = Seconds([&] {
      w.SynthetizeGedcom();
      w.GetXMLindividuals(1);
    });
    std::printf("summary %s: %d individuals, %zu last names, %zu places, %.3f s (cpu %.3f s), %.1f MB written\n",
                file.c_str(), w.LIndividualsCount, w.LastNames().size(), w.Places().size(), seconds, cpu,
                static_cast<double>(std::filesystem::file_size(out)) / 1e6);
  } else if (mode == "desc" && argc > 3) {
    w.AnalyzeGedcom(file, true);
    seconds = Seconds([&] { w.GetDESC(argv[3], "1"); });
    std::printf("desc %s %s: %d of %d individuals, %d families, %.3f s (cpu %.3f s), %.1f MB written\n", file.c_str(),
                argv[3], w.ExtractedIndividuals(), w.LIndividualsCount, w.ExtractedFamilies(), seconds, cpu,
                static_cast<double>(std::filesystem::file_size(out)) / 1e6);
  } else {
    std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
    return 2;
  }
  std::filesystem::remove(out);
  std::fflush(stdout);
  std::_Exit(0);  // the model's teardown is not part of any measurement
}
