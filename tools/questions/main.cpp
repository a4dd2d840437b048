// SPDX-License-Identifier: GPL-3.0-or-later
// zelvanos-questions: compiles readable question sources into the game's
// bank files, dumps bank files back to sources, and checks sources.

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "game/questions.hpp"
#include "platform/files.hpp"
#include "questions/difficulty.hpp"
#include "questions/source.hpp"
#include "shell/messages.hpp"

namespace {

constexpr const char* kUsage =
    "Használat / usage:\n"
    "  zelvanos-questions compile FORRÁS BANK   forrás fordítása bankfájllá / compile a source into a bank file\n"
    "  zelvanos-questions dump BANK [FORRÁS]    a bank forrása (alapból vagy „-” esetén a szabványos\n"
    "                                           kimenetre) / write a bank's source (to standard output\n"
    "                                           by default or for \"-\")\n"
    "  zelvanos-questions check FORRÁS...       források ellenőrzése írás nélkül / check sources, writing nothing\n"
    "  zelvanos-questions PARANCS --help        egy parancs leírása / help on one command\n"
    "\n"
    "A forrás UTF-8 szöveg, kérdésenként egy blokk / a source is UTF-8 text, one block per question:\n"
    "\n"
    "  # megjegyzés / a comment\n"
    "  # Becslés: 85% 90%\n"
    "  ? Melyik a legnagyobb bolygó a Naprendszerben?\n"
    "  - Mars\n"
    "  + Jupiter\n"
    "  - Vénusz\n"
    "  - Szaturnusz\n"
    "\n"
    "A „? ” után a kérdés áll (legfeljebb 100 karakter; a képernyő az 55. után\n"
    "töri), utána négy válasz A-tól D-ig (legfeljebb 50 karakter; 25 fér a\n"
    "dobozba), a jó előtt „+ ”. Egyik sem lehet üres vagy csupa szóköz. Egy\n"
    "bankban legfeljebb 99 kérdés. Csak a 852-es kódlap betűi; vezérlőkarakter\n"
    "(tabulátor is) sehol. Az első 100 hibát és figyelmeztetést írja ki, a többit\n"
    "csak megszámolja.\n"
    "\"? \" starts the question (at most 100 characters; the screen breaks it after\n"
    "character 55), then four answers A to D (at most 50 characters; 25 fit their\n"
    "box), \"+ \" before the right one. None may be empty or all blanks. At most\n"
    "99 questions. Only characters of code page 852; no control character (a tab\n"
    "neither) anywhere. The first 100 errors and warnings are shown, the rest\n"
    "counted.\n"
    "\n"
    "A kérdés megjegyzései közt egy „# Becslés:” sor állhat: független olvasók\n"
    "becslése arról, a játékosok hány százaléka válaszolna jól, egész\n"
    "százalékokban, szóközzel elválasztva. Lásd: check --help.\n"
    "Among a question's comments a \"# Becslés:\" line may stand: independent\n"
    "readers' estimates of the share of players who would answer right, whole\n"
    "percents separated by spaces. See check --help.\n"
    "\n"
    "Kilépési kódok / exit codes: 0 kész, figyelmeztetésekkel is / done, warnings\n"
    "allowed; 1 hibás a forrás / the source has errors; 2 egy fájl nem olvasható\n"
    "vagy írható / a file could not be read or written; 64 hibás használat /\n"
    "wrong usage; 70 belső hiba (pl. elfogyott a memória) / internal failure\n"
    "(out of memory, for one).\n";

constexpr const char* kCompileHelp =
    "Használat / usage: zelvanos-questions compile FORRÁS BANK\n"
    "\n"
    "Lefordítja a FORRÁS kérdéseit a játék BANK fájljává (31 200 bájt: 100 darab\n"
    "312 bájtos rekord, a kérdések, utánuk egy „*” rekord, aztán üresek). Hibás\n"
    "forrásból nem ír semmit; a BANK-ot egy mellette lévő ideiglenes fájlon át\n"
    "cseréli. A BANK új fájl vagy egy meglévő, 31 200 bájtos bank lehet: magát a\n"
    "forrást és minden más fájlt (eszközt, csövet is) érintetlenül hagy.\n"
    "Compiles the questions of SOURCE into the game's bank file BANK (31 200\n"
    "bytes: 100 records of 312, the questions, a \"*\" record after them, then\n"
    "empty records). A source with errors writes nothing; BANK is replaced\n"
    "through a temporary file beside it. BANK is a new file or an existing\n"
    "31 200-byte bank: the source itself and any other file (a device or a pipe\n"
    "too) are left untouched.\n"
    "\n"
    "Kilépési kódok / exit codes: 0, 1 hibás forrás / source errors, 2 fájlhiba /\n"
    "file problem, 64, 70.\n";

constexpr const char* kDumpHelp =
    "Használat / usage: zelvanos-questions dump BANK [FORRÁS]\n"
    "\n"
    "Kiírja a BANK kérdéseit forrásként: a szabványos kimenetre (ha a FORRÁS\n"
    "hiányzik vagy „-”), vagy a FORRÁS fájlba, amely csak közönséges fájl lehet.\n"
    "Terminálra a vezérlőkaraktereket látható jelöléssel (\\x1b) írja. Amit egy\n"
    "forrás nem tud leírni (hiányzó jó válasz, üres szöveg, vezérlőkarakter),\n"
    "arra figyelmeztet.\n"
    "Writes the questions of BANK as a source: to standard output (when SOURCE\n"
    "is missing or \"-\"), or to SOURCE, which can only be a regular file. On a\n"
    "terminal, control characters are written as visible escapes (\\x1b). What\n"
    "a source cannot express (a missing right answer, an empty text, a control\n"
    "character) is warned about.\n"
    "\n"
    "Kilépési kódok / exit codes: 0, 2 fájlhiba / file problem, 64, 70.\n";

constexpr const char* kCheckHelp =
    "Használat / usage: zelvanos-questions check FORRÁS...\n"
    "\n"
    "Ellenőrzi a forrásokat, és nem ír semmit. Hiba: amit a játék nem tud\n"
    "megjeleníteni (rossz karakter, túl hosszú szöveg, hiányzó válasz ...), és\n"
    "a hibás Becslés sor. Figyelmeztetés: ami rosszul mutat (kilógó válasz,\n"
    "kettétört szó), két azonos válasz, egy kérdés, amely a megadott források\n"
    "közt ismétlődik, és ami a szövegen látszik (név szerint, lásd lent).\n"
    "Checks the sources and writes nothing. Errors: what the game cannot show\n"
    "(a bad character, a text too long, a missing answer ...) and a malformed\n"
    "Becslés line. Warnings: what shows badly (an answer running out of its\n"
    "box, a split word), two identical answers, a question repeated across the\n"
    "given sources, and what the wording shows (by name, see below).\n"
    "\n"
    "Nehézség / difficulty. A kérdés blokkjában (a kérdés feletti és alatti\n"
    "megjegyzések közt, az utána álló üres sorig) egy sor adhatja meg, hogy\n"
    "független olvasók szerint a játékosok hány százaléka válaszolna jól:\n"
    "In a question's block (the comments above and below it, up to the blank\n"
    "line after it) one line may give independent readers' estimates of the\n"
    "share of players who would answer right:\n"
    "\n"
    "  # Becslés: 85% 90%\n"
    "\n"
    "egész százalékok 0 és 100 közt, mindegyik után %, szóközzel elválasztva /\n"
    "whole percents from 0 to 100, each followed by %, separated by spaces.\n"
    "A check minden fájlról kiírja a szabványos kimenetre a becsült kérdések\n"
    "számát, a kérdések átlagos becslésének mediánját, kvartiliseit és\n"
    "szélsőit. Ha a fájlok fokozatos sort alkotnak (egy mappa 01, 02 ... 10\n"
    "nevű fájljai, mint check Default/*.txt), figyelmeztet, ahol egy szint\n"
    "mediánja nem kisebb az előzőénél, és ahol egy kérdés több mint egy\n"
    "szintnyire áll a becslése szerinti helyétől: a sor kérdéseit becslés\n"
    "szerint, a legkönnyebbel kezdve sorba rakva és a fájlok méretének\n"
    "megfelelő csoportokra vágva, a kérdés csoportja a becsült szintje (egyenlő\n"
    "becslések közt a sajátjához legközelebbi szint számít).\n"
    "For each file check writes to standard output how many questions have\n"
    "estimates and the median, quartiles, lowest and highest of the questions'\n"
    "mean estimates. When the files form a graded series (the files 01, 02 ...\n"
    "10 of one folder, as check Default/*.txt), it warns where a level's median\n"
    "is not below the level before it, and where a question stands more than\n"
    "one level from where its estimate puts it: the series' questions sorted\n"
    "by estimate, easiest first, and cut into groups of the files' sizes, the\n"
    "group a question falls in is its estimated level (among equal estimates,\n"
    "the level nearest its own counts).\n"
    "\n"
    "A szövegen látszó figyelmeztetések / what the wording shows:\n"
    "  szo-a-kerdesben  a jó válasz szava (vagy töve) a kérdésben, és egy rossz\n"
    "                   válaszban sincs / the right answer's word (or stem) in\n"
    "                   the question, in no wrong answer (kismalac ... Malacka)\n"
    "  ezres-tagolas    négyjegyű szám szóközzel: 1 000 helyett 1000; ötjegyűtől\n"
    "                   a szóköz marad / a four-digit number with a group space:\n"
    "                   1000, not 1 000; five digits and more keep it\n"
    "  kilogo-valasz    egy válasz más alakú, mint a többi három: három szám és\n"
    "                   egy szó, három azonos ragú és egy rag nélküli, vagy egy\n"
    "                   jóval hosszabb / one answer of another form than the\n"
    "                   other three: three numbers and a word, three with one\n"
    "                   case ending and one without, or one much longer\n"
    "  ragegyeztetes    a válasz nem illik a kérdőszó ragjához (Melyik városban\n"
    "                   ... Bécsben) / answers not agreeing with a question word\n"
    "                   with a case ending (Melyik városban ... Bécsben)\n"
    "  sorrend          a számválaszok nem növekvő sorrendben / number answers\n"
    "                   out of ascending order\n"
    "Ezek becslések. Ha egy kérdésnél ellenőrizte, és így helyes, a kérdés\n"
    "blokkjába írja / these are guesses; where one is right as it stands, write\n"
    "in the question's block:\n"
    "\n"
    "  # Nyugtázva: ezres-tagolas\n"
    "\n"
    "A nyugtázás csak annál a kérdésnél és annál a figyelmeztetésnél hat;\n"
    "amelyikre már nincs szükség, arra figyelmeztet. / It silences that warning\n"
    "on that question alone; one no longer needed is warned about.\n"
    "\n"
    "Kilépési kódok / exit codes: 0 nincs hiba / no errors, 1 hiba van / errors,\n"
    "2 fájlhiba / file problem, 64, 70.\n";

// The largest source or bank file read (the web page's limit too).
constexpr std::size_t kMaxFileSize = questions::kMaxSourceSize;

constexpr int kSourceErrors = 1;
constexpr int kFileProblem = 2;
constexpr int kUsageError = 64;
constexpr int kInternal = 70;

struct FileProblem {
  std::string message;
};

// A file name as given, safe to print on a terminal.
std::string shown(const std::string& file) { return shell::terminal_safe(file); }

// A system error, from the table of I/O messages the game and the names
// program share.
std::string system_error(platform::FileStep step, int err, const std::string& path) {
  const platform::Bilingual text = platform::problem_text(step, err, platform::io_code(step, err, path));
  return text.hu + " / " + text.en;
}

// A failure of the game's file functions, in both languages.
std::string io_failure(const platform::IoError& e) {
  const std::string hu = e.problem_hu().empty() ? platform::code_text(e.code()).hu : e.problem_hu();
  return shown(e.path().string()) + ": hiba / error: " + hu + " / " + e.problem();
}

// The file's bytes: a regular file only (a folder, device or FIFO is refused
// without waiting for it), at most `limit` bytes of it; `exact` reads only
// its first `limit` bytes.
std::string read_file(const std::string& path, std::size_t limit, bool exact) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) throw FileProblem{system_error(platform::FileStep::kOpen, errno, path)};
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat st = {};
  if (::fstat(fd, &st) != 0) throw FileProblem{system_error(platform::FileStep::kOpen, errno, path)};
  if (S_ISDIR(st.st_mode)) throw FileProblem{"ez egy mappa, nem fájl / this is a folder, not a file"};
  if (!S_ISREG(st.st_mode)) {
    throw FileProblem{"nem közönséges fájl (eszköz, FIFO vagy socket) / not a regular file (a device, FIFO or socket)"};
  }
  const std::string too_big = std::to_string(limit);
  if (!exact && static_cast<std::uintmax_t>(st.st_size) > limit) {
    throw FileProblem{"nagyobb, mint " + too_big + " bájt; nem kérdésforrás / larger than " + too_big +
                      " bytes; not a question source"};
  }
  std::string out;
  char buf[65536];
  while (out.size() <= limit) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw FileProblem{system_error(platform::FileStep::kRead, errno, path)};
    if (n == 0) break;
    out.append(buf, static_cast<std::size_t>(n));
  }
  if (out.size() > limit) {
    if (exact) {
      out.resize(limit);
    } else {
      throw FileProblem{"nagyobb, mint " + too_big + " bájt; nem kérdésforrás / larger than " + too_big +
                        " bytes; not a question source"};
    }
  }
  return out;
}

// Prints the diagnostics, then how many more were left out; returns false
// when any is an error.
bool report(const std::string& file, const std::vector<questions::Diagnostic>& diagnostics, int errors_left_out = 0,
            int warnings_left_out = 0) {
  for (const auto& d : diagnostics) std::cerr << questions::format(shown(file), d) << "\n";
  if (errors_left_out > 0 || warnings_left_out > 0) {
    const std::string errors = std::to_string(errors_left_out);
    const std::string warnings = std::to_string(warnings_left_out);
    std::cerr << shown(file) << ": ... és még " << errors << " hiba és " << warnings
              << " figyelmeztetés, amelyet a program nem ír ki / and " << errors << " more errors and " << warnings
              << " more warnings, not shown\n";
  }
  return errors_left_out == 0 &&
         std::none_of(diagnostics.begin(), diagnostics.end(), [](const auto& d) { return d.error; });
}

bool report(const std::string& file, const questions::Compiled& c) {
  return report(file, c.diagnostics, c.errors_left_out, c.warnings_left_out);
}

// Reads and compiles a source; 0, or the exit code of its failure.
int load(const std::string& file, questions::Compiled* result) {
  try {
    *result = questions::compile(read_file(file, kMaxFileSize, false));
  } catch (const FileProblem& p) {
    std::cerr << shown(file) << ": hiba / error: " << p.message << "\n";
    return kFileProblem;
  }
  return 0;
}

// Whether the two names lead to one file (through links, or as two paths).
bool same_file(const std::string& a, const std::string& b) {
  struct stat sa = {};
  struct stat sb = {};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// Why the output may not be written: it is the input itself, or (for a
// bank) something there already that is not a bank; empty when it may.
std::string refused_output(const std::string& out, const std::string& in, bool bank) {
  if (same_file(out, in)) {
    return "ez maga a bemenet (" + shown(in) + "), amelyet az írás felülírna; semmi sem íródott / this is the input (" +
           shown(in) + ") itself, which the write would overwrite; nothing was written";
  }
  struct stat link = {};
  if (::lstat(out.c_str(), &link) != 0) return {};  // nothing there yet
  struct stat st = {};
  if (::stat(out.c_str(), &st) != 0) {
    if (errno == ENOENT) return {};  // a link of the player's own to a file still to be made
    return system_error(platform::FileStep::kOpen, errno, out);
  }
  if (S_ISDIR(st.st_mode)) return "ez egy mappa, nem fájl / this is a folder, not a file";
  if (!S_ISREG(st.st_mode)) {
    return "nem közönséges fájl (eszköz, FIFO vagy socket), ezért nem íródik felül / not a regular file (a device, "
           "FIFO or socket), so it is not overwritten";
  }
  if (bank && static_cast<std::uintmax_t>(st.st_size) != game::kBankSize) {
    const std::string n = std::to_string(st.st_size);
    return "nem bankfájl (" + n +
           " bájt, egy bank 31 200 bájt), ezért nem íródik felül; adjon meg új fájlnevet vagy egy meglévő bankot / "
           "not a bank file (" +
           n + " bytes, a bank has 31 200), so it is not overwritten; give a new file name or an existing bank";
  }
  return {};
}

int check(const std::vector<std::string>& files) {
  int worst = 0;
  std::vector<questions::Compiled> compiled(files.size());
  std::vector<questions::NamedSource> loaded;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (const int code = load(files[i], &compiled[i]); code != 0) {
      worst = std::max(worst, code);
      continue;
    }
    if (!report(files[i], compiled[i])) worst = std::max(worst, kSourceErrors);
    loaded.push_back({files[i], &compiled[i]});
  }
  for (const auto& r : questions::repeats_across(loaded))
    std::cerr << questions::format(shown(r.file), r.diagnostic) << "\n";
  // A graded series (01 ... 10 of one folder) should climb level by level.
  std::vector<std::string> names;
  for (const auto& source : loaded) names.push_back(source.file);
  const std::vector<int> levels = questions::series_levels(names);
  if (!levels.empty()) {
    for (const auto& w : questions::series_warnings(loaded, levels)) {
      std::cerr << questions::format(shown(w.file), w.diagnostic) << "\n";
    }
  }
  // The report: how hard each file's questions are by their estimates.
  for (const auto& source : loaded) {
    std::cout << questions::spread_line(shown(source.file), questions::spread(*source.compiled)) << "\n";
  }
  std::cout << std::flush;
  return worst;
}

int compile(const std::string& source, const std::string& bank_path) {
  questions::Compiled c;
  if (const int code = load(source, &c); code != 0) return code;
  if (!report(source, c)) return kSourceErrors;
  if (const std::string why = refused_output(bank_path, source, true); !why.empty()) {
    std::cerr << shown(bank_path) << ": hiba / error: " << why << "\n";
    return kFileProblem;
  }
  try {
    platform::write_record(bank_path, game::encode_bank(c.bank));
  } catch (const platform::IoError& e) {
    std::cerr << io_failure(e) << "\n";
    return kFileProblem;
  }
  return 0;
}

// The source written to standard output; on a terminal every control
// character a hostile bank may hold is shown escaped, never sent raw.
bool write_standard_output(const std::string& text) {
  if (::isatty(STDOUT_FILENO) == 0) {
    std::cout << text;
  } else {
    for (std::size_t start = 0; start < text.size();) {
      std::size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::cout << shell::terminal_safe(std::string_view(text).substr(start, end - start));
      if (end < text.size()) std::cout << '\n';
      start = end + 1;
    }
  }
  std::cout << std::flush;
  return static_cast<bool>(std::cout);
}

int dump(const std::string& bank_path, const std::string* out_path) {
  std::string bytes;
  try {
    bytes = read_file(bank_path, game::kBankSize, true);
  } catch (const FileProblem& p) {
    std::cerr << shown(bank_path) << ": hiba / error: " << p.message << "\n";
    return kFileProblem;
  }
  if (bytes.size() < game::kBankSize) {
    std::cerr << shown(bank_path) << ": hiba / error: rövid fájl, " << bytes.size() << " bájt a(z) " << game::kBankSize
              << " helyett / file too short: " << bytes.size() << " of " << game::kBankSize << " bytes\n";
    return kFileProblem;
  }
  const auto bank = game::decode_bank(std::span<const std::uint8_t, game::kBankSize>(
      reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  std::vector<questions::Diagnostic> problems;
  const std::string text = questions::dump(bank, &problems);
  report(bank_path, problems);
  if (out_path == nullptr || *out_path == "-") {
    if (!write_standard_output(text)) {
      std::cerr << "zelvanos-questions: hiba / error: a szabványos kimenet nem írható / cannot write standard output\n";
      return kFileProblem;
    }
    return 0;
  }
  if (const std::string why = refused_output(*out_path, bank_path, false); !why.empty()) {
    std::cerr << shown(*out_path) << ": hiba / error: " << why << "\n";
    return kFileProblem;
  }
  try {
    platform::write_record(
        *out_path, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  } catch (const platform::IoError& e) {
    std::cerr << io_failure(e) << "\n";
    return kFileProblem;
  }
  return 0;
}

int usage(const std::string& message) {
  std::cerr << "zelvanos-questions: " << message << "\n\n" << kUsage;
  return kUsageError;
}

bool is_help(const std::string& arg) { return arg == "--help" || arg == "-h" || arg == "--sugo"; }

int run(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (is_help(command) || command == "help") {
    std::cout << kUsage;
    return 0;
  }
  std::vector<std::string> args;
  bool options = true;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (options && arg == "--") {
      options = false;
    } else if (options && is_help(arg)) {
      const char* help = command == "compile" ? kCompileHelp
                         : command == "dump"  ? kDumpHelp
                         : command == "check" ? kCheckHelp
                                              : nullptr;
      if (help == nullptr) break;
      std::cout << help;
      return 0;
    } else if (options && arg.size() > 1 && arg[0] == '-') {
      return usage("ismeretlen kapcsoló / unknown option: " + arg);
    } else {
      args.push_back(arg);
    }
  }
  if (command == "compile") {
    if (args.size() != 2) return usage("a compile két fájlt vár / compile takes two files");
    return compile(args[0], args[1]);
  }
  if (command == "dump") {
    if (args.empty() || args.size() > 2) return usage("a dump egy vagy két fájlt vár / dump takes one or two files");
    return dump(args[0], args.size() == 2 ? &args[1] : nullptr);
  }
  if (command == "check") {
    if (args.empty()) return usage("a check legalább egy fájlt vár / check takes one file or more");
    return check(args);
  }
  if (command.empty()) return usage("hiányzik a parancs / missing command");
  return usage("ismeretlen parancs / unknown command: " + command);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(argc, argv);
  } catch (const std::bad_alloc&) {
    std::cerr << "zelvanos-questions: hiba / error: elfogyott a memória / out of memory\n";
  } catch (const std::exception& e) {
    std::cerr << "zelvanos-questions: belső hiba / internal error: " << e.what() << "\n";
  } catch (...) {
    std::cerr << "zelvanos-questions: belső hiba / internal error\n";
  }
  return kInternal;
}
