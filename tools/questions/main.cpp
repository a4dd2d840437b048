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
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "game/questions.hpp"
#include "platform/files.hpp"
#include "questions/difficulty.hpp"
#include "questions/source.hpp"

namespace {

constexpr const char* kUsage =
    "Használat / usage:\n"
    "  zelvanos-questions compile FORRÁS BANK   forrás fordítása bankfájllá / compile a source into a bank file\n"
    "  zelvanos-questions dump BANK [FORRÁS]    a bank forrása (alapból a szabványos kimenetre) /\n"
    "                                           write a bank's source (to standard output)\n"
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
    "dobozba), a jó előtt „+ ”. Egy bankban legfeljebb 99 kérdés. Csak a 852-es\n"
    "kódlap betűi; vezérlőkarakter (tabulátor is) sehol.\n"
    "\"? \" starts the question (at most 100 characters; the screen breaks it after\n"
    "character 55), then four answers A to D (at most 50 characters; 25 fit their\n"
    "box), \"+ \" before the right one. At most 99 questions. Only characters of\n"
    "code page 852; no control character (a tab neither) anywhere.\n"
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
    "cseréli.\n"
    "Compiles the questions of SOURCE into the game's bank file BANK (31 200\n"
    "bytes: 100 records of 312, the questions, a \"*\" record after them, then\n"
    "empty records). A source with errors writes nothing; BANK is replaced\n"
    "through a temporary file beside it.\n"
    "\n"
    "Kilépési kódok / exit codes: 0, 1 hibás forrás / source errors, 2 fájlhiba /\n"
    "file problem, 64, 70.\n";

constexpr const char* kDumpHelp =
    "Használat / usage: zelvanos-questions dump BANK [FORRÁS]\n"
    "\n"
    "Kiírja a BANK kérdéseit forrásként: a szabványos kimenetre, vagy ha meg van\n"
    "adva, a FORRÁS fájlba. Amit egy forrás nem tud leírni (hiányzó jó válasz,\n"
    "üres szöveg, vezérlőkarakter), arra figyelmeztet.\n"
    "Writes the questions of BANK as a source: to standard output, or to SOURCE\n"
    "when given. What a source cannot express (a missing right answer, an empty\n"
    "text, a control character) is warned about.\n"
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

// The largest source or bank file read: far above any real one (a full
// bank's source is some 60 kB), low enough to refuse an endless device.
constexpr std::size_t kMaxFileSize = 4 * 1024 * 1024;

constexpr int kSourceErrors = 1;
constexpr int kFileProblem = 2;
constexpr int kUsageError = 64;
constexpr int kInternal = 70;

struct FileProblem {
  std::string message;
};

std::string name_error(int err) {
  switch (err) {
    case ENOENT: return "nem található / not found";
    case EACCES:
    case EPERM: return "nincs hozzáférés / access denied";
    case ENOTDIR: return "az útvonal egy tagja nem mappa / a part of the path is not a folder";
    case ELOOP: return "túl sok szimbolikus link / too many symbolic links";
    case EMFILE:
    case ENFILE: return "túl sok nyitott fájl / too many open files";
    case EIO: return "olvasási hiba (I/O) / read error (I/O)";
    default: return std::string("hiba / error: ") + std::strerror(err);
  }
}

// The file's bytes: a regular file only (a folder, device or FIFO is refused
// without waiting for it), at most `limit` bytes of it; `exact` reads only
// its first `limit` bytes.
std::string read_file(const std::string& path, std::size_t limit, bool exact) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) throw FileProblem{name_error(errno)};
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat st = {};
  if (::fstat(fd, &st) != 0) throw FileProblem{name_error(errno)};
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
    if (n < 0) throw FileProblem{name_error(errno)};
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

// Prints the diagnostics; returns false when any is an error.
bool report(const std::string& file, const std::vector<questions::Diagnostic>& diagnostics) {
  for (const auto& d : diagnostics) std::cerr << questions::format(file, d) << "\n";
  return std::none_of(diagnostics.begin(), diagnostics.end(), [](const auto& d) { return d.error; });
}

// Reads and compiles a source; 0, or the exit code of its failure.
int load(const std::string& file, questions::Compiled* result) {
  try {
    *result = questions::compile(read_file(file, kMaxFileSize, false));
  } catch (const FileProblem& p) {
    std::cerr << file << ": hiba / error: " << p.message << "\n";
    return kFileProblem;
  }
  return 0;
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
    if (!report(files[i], compiled[i].diagnostics)) worst = std::max(worst, kSourceErrors);
    loaded.push_back({files[i], &compiled[i]});
  }
  for (const auto& r : questions::repeats_across(loaded)) std::cerr << questions::format(r.file, r.diagnostic) << "\n";
  // A graded series (01 ... 10 of one folder) should climb level by level.
  std::vector<std::string> names;
  for (const auto& source : loaded) names.push_back(source.file);
  const std::vector<int> levels = questions::series_levels(names);
  if (!levels.empty()) {
    for (const auto& w : questions::series_warnings(loaded, levels)) {
      std::cerr << questions::format(w.file, w.diagnostic) << "\n";
    }
  }
  // The report: how hard each file's questions are by their estimates.
  for (const auto& source : loaded) {
    std::cout << questions::spread_line(source.file, questions::spread(*source.compiled)) << "\n";
  }
  std::cout << std::flush;
  return worst;
}

int compile(const std::string& source, const std::string& bank_path) {
  questions::Compiled c;
  if (const int code = load(source, &c); code != 0) return code;
  if (!report(source, c.diagnostics)) return kSourceErrors;
  try {
    platform::write_record(bank_path, game::encode_bank(c.bank));
  } catch (const platform::Fatal& e) {
    std::cerr << "zelvanos-questions: hiba / error: " << e.what() << "\n";
    return kFileProblem;
  }
  return 0;
}

int dump(const std::string& bank_path, const std::string* out_path) {
  std::string bytes;
  try {
    bytes = read_file(bank_path, game::kBankSize, true);
  } catch (const FileProblem& p) {
    std::cerr << bank_path << ": hiba / error: " << p.message << "\n";
    return kFileProblem;
  }
  if (bytes.size() < game::kBankSize) {
    std::cerr << bank_path << ": hiba / error: rövid fájl, " << bytes.size() << " bájt a(z) " << game::kBankSize
              << " helyett / file too short: " << bytes.size() << " of " << game::kBankSize << " bytes\n";
    return kFileProblem;
  }
  const auto bank = game::decode_bank(std::span<const std::uint8_t, game::kBankSize>(
      reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  std::vector<questions::Diagnostic> problems;
  const std::string text = questions::dump(bank, &problems);
  report(bank_path, problems);
  if (out_path == nullptr) {
    std::cout << text << std::flush;
    if (!std::cout) {
      std::cerr << "zelvanos-questions: hiba / error: a szabványos kimenet nem írható / cannot write standard output\n";
      return kFileProblem;
    }
    return 0;
  }
  try {
    platform::write_record(
        *out_path, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  } catch (const platform::Fatal& e) {
    std::cerr << "zelvanos-questions: hiba / error: " << e.what() << "\n";
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
