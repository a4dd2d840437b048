// SPDX-License-Identifier: GPL-3.0-or-later
#include "questions/wording.hpp"

#include <algorithm>
#include <map>
#include <set>

#include "questions/text.hpp"

namespace questions {
namespace {

using text::is_digit;
using text::is_letter;

std::string both(const std::string& hu, const std::string& en) { return hu + " / " + en; }

std::string letter(std::size_t i) { return std::string(1, static_cast<char>('A' + i)); }

bool ends_with(std::u32string_view s, std::u32string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

bool starts_with(std::u32string_view s, std::u32string_view prefix) {
  return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

bool is_vowel(char32_t cp) { return std::u32string_view(U"aáeéiíoóöőuúüű").find(cp) != std::u32string_view::npos; }

// A word of a text: its letters in lower case, where it starts, and
// whether it started with a capital (a name).
struct Word {
  std::u32string text;
  std::size_t at = 0;
  bool capital = false;
};

// The runs of letters; a hyphen or an apostrophe separates words.
std::vector<Word> words(std::u32string_view s) {
  std::vector<Word> out;
  for (std::size_t i = 0; i < s.size();) {
    if (!is_letter(s[i])) {
      ++i;
      continue;
    }
    Word w{{}, i, text::lower(s[i]) != s[i]};
    while (i < s.size() && is_letter(s[i])) w.text.push_back(text::lower(s[i++]));
    out.push_back(std::move(w));
  }
  return out;
}

std::u32string last_word(std::u32string_view s) {
  const auto all = words(s);
  return all.empty() ? std::u32string() : all.back().text;
}

// ---- The right answer's word in the question -----------------------------

// Endings a Hungarian word takes (cases, plural, possessive, diminutive,
// comparative ...), longest first. Taking them off, again and again, gives
// the candidate stems of a word; a wrong one now and then does little harm,
// since two words must share a stem of four letters or more.
constexpr std::u32string_view kEndings[] = {
    U"abb", U"ebb", U"obb", U"ban", U"ben", U"ból", U"ből", U"ról", U"ről", U"tól", U"től", U"nál", U"nél",
    U"hoz", U"hez", U"höz", U"nak", U"nek", U"val", U"vel", U"ért", U"kat", U"ket", U"ság", U"ség", U"ként",
    U"ba",  U"be",  U"ra",  U"re",  U"on",  U"en",  U"ön",  U"at",  U"et",  U"ot",  U"öt",  U"ig",  U"ul",
    U"ül",  U"vá",  U"vé",  U"ok",  U"ek",  U"ök",  U"ak",  U"ja",  U"je",  U"ai",  U"ei",  U"ji",  U"ka",
    U"ke",  U"bb",  U"ék",  U"n",   U"t",   U"k",   U"a",   U"e",   U"i",   U"é"};

// Words and stems too common in quiz questions to give anything away.
const std::set<std::u32string>& common() {
  static const std::set<std::u32string> words = {
      U"melyik",   U"milyen",   U"mely",  U"hány",   U"hányadik", U"mikor",    U"honnan", U"kinek",
      U"miért",    U"mekkora",  U"volt",  U"lett",   U"nevű",     U"neve",     U"nevez",  U"nevezik",
      U"nevezzük", U"magyar",   U"híres", U"első",   U"ország",   U"város",    U"egyik",  U"világ",
      U"alábbi",   U"alábbiak", U"közül", U"között", U"számú",    U"található"};
  return words;
}

std::set<std::u32string> stems(const std::u32string& word) {
  std::set<std::u32string> all = {word};
  if (starts_with(word, U"leg") && word.size() > 6) all.insert(word.substr(3));
  std::vector<std::u32string> todo(all.begin(), all.end());
  while (!todo.empty()) {
    const std::u32string s = todo.back();
    todo.pop_back();
    for (const std::u32string_view ending : kEndings) {
      if (!ends_with(s, ending) || s.size() < ending.size() + 3) continue;
      std::u32string stem = s.substr(0, s.size() - ending.size());
      // A long vowel before an ending is the short one of the word itself: almát, körtét.
      std::u32string shortened = stem;
      if (shortened.back() == U'á') shortened.back() = U'a';
      if (shortened.back() == U'é') shortened.back() = U'e';
      for (auto& candidate : {stem, shortened}) {
        if (all.insert(candidate).second) todo.push_back(candidate);
      }
    }
  }
  std::set<std::u32string> out;
  for (const auto& s : all) {
    if (s.size() >= 4 && common().count(s) == 0) out.insert(s);
  }
  return out;
}

// Whether two words share a stem, or one holds a stem of the other at its
// start or end as a compound does (kismalac, Malacka; legnagyobb, nagybőgő).
bool related(const std::u32string& a, const std::u32string& b) {
  const auto sa = stems(a);
  const auto sb = stems(b);
  for (const auto& s : sa) {
    if (sb.count(s) != 0) return true;
  }
  const auto holds = [](const std::u32string& word, const std::set<std::u32string>& of) {
    return std::any_of(of.begin(), of.end(), [&](const std::u32string& s) {
      return word.size() >= s.size() + 3 && (starts_with(word, s) || ends_with(word, s));
    });
  };
  return holds(b, sa) || holds(a, sb);
}

std::string giveaway_message(const std::string& in_question, const std::string& in_answer) {
  return both("a kérdés „" + in_question + "” szava elárulja a jó választ („" + in_answer + "”)",
              "the question's word \"" + in_question + "\" gives the right answer away (\"" + in_answer + "\")");
}

// Whether one of an answer's words stands in the question too.
bool in_question(const std::vector<Word>& question, const std::u32string& answer) {
  for (const Word& q : question) {
    if (common().count(q.text) != 0) continue;
    for (const Word& a : words(answer)) {
      if (related(a.text, q.text)) return true;
    }
  }
  return false;
}

void giveaway(const std::u32string& question, const std::array<std::u32string, 4>& answers, std::size_t right,
              std::vector<Finding>& out) {
  const auto asked = words(question);
  // When a wrong answer's word stands in the question too, the question
  // names the kind of answer it asks for ("Melyik tenger ..." Adriai-tenger,
  // Balti-tenger) or all the options (a puzzle about Anna, Béla and Csaba):
  // no give-away.
  for (std::size_t i = 0; i < 4; ++i) {
    if (i != right && in_question(asked, answers[i])) return;
  }
  for (const Word& q : asked) {
    if (common().count(q.text) != 0) continue;
    for (const Word& a : words(answers[right])) {
      if (!related(a.text, q.text)) continue;
      out.push_back({0, static_cast<int>(q.at + 1), kGiveaway,
                     giveaway_message(text::utf8_of(question.substr(q.at, q.text.size())),
                                      text::utf8_of(answers[right].substr(a.at, a.text.size())))});
      return;
    }
  }
}

// ---- A group space in a four-digit number ---------------------------------

bool group_space(char32_t cp) { return cp == ' ' || cp == 0xA0; }

// About "1 000": write it as 1000.
std::string group_space_message(const std::u32string& number) {
  const std::string shown = text::utf8_of(number);
  const std::string joined = text::utf8_of(number.substr(0, 1) + number.substr(2));
  return both("négyjegyű szám ezres tagolással: „" + shown + "”; egybe írandó: " + joined,
              "a four-digit number with a group space: \"" + shown + "\"; write it as " + joined);
}

void group_spaces(const std::u32string& s, int field, std::vector<Finding>& out) {
  const auto digit_at = [&](std::size_t i) { return i < s.size() && is_digit(s[i]); };
  for (std::size_t i = 0; i + 4 < s.size(); ++i) {
    if (!is_digit(s[i])) continue;
    if (i > 0 && (is_digit(s[i - 1]) || s[i - 1] == ',' || s[i - 1] == '.')) continue;
    if (i > 1 && group_space(s[i - 1]) && is_digit(s[i - 2])) continue;  // a later group of a longer number
    if (!group_space(s[i + 1]) || !digit_at(i + 2) || !digit_at(i + 3) || !digit_at(i + 4) || digit_at(i + 5)) {
      continue;
    }
    // 10 000 and 1 000 000 keep their spaces.
    if (i + 5 < s.size() && group_space(s[i + 5]) && digit_at(i + 6) && digit_at(i + 7) && digit_at(i + 8)) continue;
    out.push_back({field, static_cast<int>(i + 1), kGroupSpace, group_space_message(s.substr(i, 5))});
  }
}

// ---- Case endings ----------------------------------------------------------

// The kinds of case a question word asks for, each with the endings (and
// postpositions) that agree with it.
enum class Case { kNone, kIn, kInto, kFrom, kTo, kWith };

bool doubled_consonant_before_al(std::u32string_view w) {
  // The -val/-vel ending after a consonant doubles it: kanállal, kalapáccsal.
  if (!ends_with(w, U"al") && !ends_with(w, U"el")) return false;
  const std::u32string_view s = w.substr(0, w.size() - 2);
  if (s.size() < 3) return false;
  for (const std::u32string_view digraph : {U"ccs", U"ssz", U"zzs", U"ggy", U"nny", U"lly", U"tty", U"ddz"}) {
    if (ends_with(s, digraph)) return true;
  }
  return s[s.size() - 1] == s[s.size() - 2] && !is_vowel(s.back());
}

bool with_ending(std::u32string_view w) {
  return ends_with(w, U"val") || ends_with(w, U"vel") || doubled_consonant_before_al(w);
}

bool any_ending(std::u32string_view w, std::initializer_list<std::u32string_view> endings) {
  return std::any_of(endings.begin(), endings.end(), [&](std::u32string_view e) { return ends_with(w, e); });
}

bool agrees(Case c, std::u32string_view w, bool also_with, bool also_for) {
  switch (c) {
    case Case::kNone: return true;
    case Case::kIn:
      if (also_with && with_ending(w)) return true;  // tavasszal, ősszel
      // -ban/-ben, -on/-en/-ön/-n, -nál/-nél, Pécsett, Győrött; latinul.
      return any_ending(w, {U"ban", U"ben", U"nál", U"nél", U"ett", U"ött", U"ott", U"ul", U"ül"}) ||
             (w.size() >= 3 && w.back() == U'n' && is_vowel(w[w.size() - 2])) ||
             std::u32string_view(U" között alatt mögött előtt mellett fölött felett körül belül kívül közelében ")
                     .find(U" " + std::u32string(w) + U" ") != std::u32string_view::npos;
    case Case::kInto:
      if (also_for && ends_with(w, U"ért")) return true;  // Mire adják? Az év góljáért.
      return any_ending(w, {U"ba", U"be", U"ra", U"re", U"hoz", U"hez", U"höz"}) ||
             std::u32string_view(U" közé alá mögé elé mellé fölé felé ").find(U" " + std::u32string(w) + U" ") !=
                 std::u32string_view::npos;
    case Case::kFrom:
      return any_ending(w, {U"ból", U"ből", U"ról", U"ről", U"tól", U"től"}) ||
             std::u32string_view(U" közül alól mögül elől mellől fölül ").find(U" " + std::u32string(w) + U" ") !=
                 std::u32string_view::npos;
    case Case::kTo: return any_ending(w, {U"nak", U"nek"});
    case Case::kWith: return with_ending(w);
  }
  return true;
}

// Whether a word ends in one of the case's own endings, with nothing else
// taken as agreeing: how a fourth answer is held against three alike.
bool agrees_strictly(Case c, std::u32string_view w) {
  switch (c) {
    case Case::kNone: return true;
    case Case::kIn:
      return any_ending(w, {U"ban", U"ben", U"nál", U"nél", U"ett", U"ött", U"ott", U"on", U"en", U"ön", U"án", U"én",
                            U"ón", U"őn", U"ún", U"űn"});
    case Case::kInto: return any_ending(w, {U"ba", U"be", U"ra", U"re", U"hoz", U"hez", U"höz"});
    case Case::kFrom: return any_ending(w, {U"ból", U"ből", U"ról", U"ről", U"tól", U"től"});
    case Case::kTo: return any_ending(w, {U"nak", U"nek"});
    case Case::kWith: return with_ending(w);
  }
  return true;
}

std::string describe(Case c) {
  switch (c) {
    case Case::kIn: return "-ban/-ben, -on/-en/-ön, -nál/-nél";
    case Case::kInto: return "-ba/-be, -ra/-re, -hoz/-hez/-höz";
    case Case::kFrom: return "-ból/-ből, -ról/-ről, -tól/-től";
    case Case::kTo: return "-nak/-nek";
    case Case::kWith: return "-val/-vel";
    case Case::kNone: break;
  }
  return {};
}

// Nouns that end like a case but are not one, after "Melyik" and the like.
bool looks_like_a_case_only(std::u32string_view w) {
  for (const std::u32string_view e :
       {U"figura", U"opera",     U"kamra", U"zebra",   U"kobra", U"szféra", U"kultúra", U"ware",
        U"szoba",  U"tuba",      U"samba", U"rumba",   U"bomba", U"mamba",  U"hormon",  U"elektron",
        U"proton", U"neutron",   U"foton", U"ion",     U"szén",  U"gén",    U"isten",   U"japán",
        U"román",  U"szlovén",   U"ukrán", U"albán",   U"dán",   U"kanál",  U"szó",     U"szóban",
        U"mondat", U"mondatban", U"betű",  U"betűben", U"néven"}) {
    if (ends_with(w, e)) return true;
  }
  return false;
}

// The case a word after "Melyik" (or "Milyen" ...) carries, by its ending.
Case case_of_noun(std::u32string_view w) {
  if (w.size() < 4 || looks_like_a_case_only(w)) return Case::kNone;
  if (any_ending(w, {U"ból", U"ből", U"ról", U"ről", U"tól", U"től"})) return Case::kFrom;
  if (any_ending(w, {U"nak", U"nek"})) return Case::kTo;
  if (any_ending(w, {U"val", U"vel"})) return Case::kWith;
  if (any_ending(w, {U"ban", U"ben", U"nál", U"nél"})) return Case::kIn;
  if (any_ending(w, {U"on", U"en", U"ön", U"án", U"én", U"ón", U"őn", U"ún", U"űn"})) return Case::kIn;
  if (any_ending(w, {U"ba", U"be", U"ra", U"re", U"hoz", U"hez", U"höz"})) return Case::kInto;
  return Case::kNone;
}

struct Expectation {
  Case wanted = Case::kNone;
  std::size_t at = 0;      // where the question word starts
  std::size_t length = 0;  // and how far the phrase reaches
  bool also_with = false;  // a season: "Melyik évszakban" ... "tavasszal"
  bool also_for = false;   // "Mire": "-ért" too
};

// The case the question asks its answer in, where a question word says it.
Expectation expectation(const std::u32string& question) {
  static const std::map<std::u32string, Case> pronouns = {
      {U"hol", Case::kIn},      {U"miben", Case::kIn},   {U"kiben", Case::kIn},   {U"kinél", Case::kIn},
      {U"hová", Case::kInto},   {U"hova", Case::kInto},  {U"mibe", Case::kInto},  {U"kibe", Case::kInto},
      {U"mire", Case::kInto},   {U"kire", Case::kInto},  {U"mihez", Case::kInto}, {U"kihez", Case::kInto},
      {U"honnan", Case::kFrom}, {U"miből", Case::kFrom}, {U"kiből", Case::kFrom}, {U"miről", Case::kFrom},
      {U"kiről", Case::kFrom},  {U"mitől", Case::kFrom}, {U"kitől", Case::kFrom}, {U"kinek", Case::kTo},
      {U"minek", Case::kTo},    {U"mivel", Case::kWith}, {U"kivel", Case::kWith}};
  const auto all = words(question);
  if (all.empty()) return {};
  // A question word opening the question.
  if (const auto it = pronouns.find(all[0].text); it != pronouns.end()) {
    // "Kinek a cipője ..." asks whose: the answer is a possessive.
    if (all[0].text == U"kinek" && all.size() > 1 && (all[1].text == U"a" || all[1].text == U"az")) return {};
    return {it->second, all[0].at, all[0].text.size(), false, all[0].text == U"mire"};
  }
  // "Melyik városban", "Milyen nyelven", "Melyik európai országban".
  for (std::size_t i = 0; i + 1 < all.size(); ++i) {
    const std::u32string& w = all[i].text;
    if (w != U"melyik" && w != U"milyen" && w != U"mely" && w != U"miféle") continue;
    for (std::size_t j = i + 1, steps = 0; j < all.size() && steps < 2; ++j) {
      // A name stands before the noun as an adjective would: "Melyik
      // Shakespeare-darab", "Melyik Harry Potter-könyvben".
      if (all[j].capital) continue;
      ++steps;
      const Case c = case_of_noun(all[j].text);
      if (c != Case::kNone) {
        const bool season = starts_with(all[j].text, U"évszak") || starts_with(all[j].text, U"napszak");
        return {c, all[i].at, all[j].at + all[j].text.size() - all[i].at, season, false};
      }
      // An adjective in -i may stand between: "Melyik afrikai országban".
      if (all[j].text.back() != U'i') break;
    }
    break;
  }
  return {};
}

// An answer that is a quoted or exclaimed phrase, or holds a number, is
// taken as it stands.
bool taken_as_it_stands(std::u32string_view a) {
  return std::any_of(a.begin(), a.end(), [](char32_t cp) { return is_digit(cp) || cp == '"'; }) ||
         a.find_last_not_of(U' ') == std::u32string_view::npos || a[a.find_last_not_of(U' ')] == U'!' ||
         a[a.find_last_not_of(U' ')] == U'?';
}

void agreement(const std::u32string& question, const std::array<std::u32string, 4>& answers, const Expectation& e,
               std::vector<Finding>& out) {
  std::vector<std::size_t> odd;
  for (std::size_t i = 0; i < 4; ++i) {
    if (taken_as_it_stands(answers[i])) continue;
    if (!agrees(e.wanted, last_word(answers[i]), e.also_with, e.also_for)) odd.push_back(i);
  }
  if (odd.empty()) return;
  std::string list_hu;
  std::string list_en;
  for (std::size_t k = 0; k < odd.size(); ++k) {
    list_hu += (k == 0 ? "" : ", ") + letter(odd[k]);
    list_en += (k == 0 ? "" : k + 1 == odd.size() ? " and " : ", ") + letter(odd[k]);
  }
  const std::string phrase = text::utf8_of(question.substr(e.at, e.length));
  const std::string endings = describe(e.wanted);
  out.push_back(
      {0, static_cast<int>(e.at + 1), kAgreement,
       both("a(z) „" + phrase + "” " + endings + " alakú választ kér; nem ilyen: " + list_hu,
            "\"" + phrase + "\" asks for an answer in " + endings + "; " + (odd.size() == 1 ? "answer " : "answers ") +
                list_en + (odd.size() == 1 ? " is" : " are") + " not")});
}

// ---- An answer of another form ---------------------------------------------

struct Ending {
  std::u32string_view endings[3];
  Case kind;
};

// The endings three answers may share, each of one case (-ra/-re left out:
// too many names end so, Klára, Sára, Dóra).
constexpr Ending kShared[] = {
    {{U"ban", U"ben"}, Case::kIn},           {{U"nál", U"nél"}, Case::kIn},   {{U"ba", U"be"}, Case::kInto},
    {{U"hoz", U"hez", U"höz"}, Case::kInto}, {{U"ból", U"ből"}, Case::kFrom}, {{U"ról", U"ről"}, Case::kFrom},
    {{U"tól", U"től"}, Case::kFrom},         {{U"nak", U"nek"}, Case::kTo},   {{U"val", U"vel"}, Case::kWith}};

// Which of kShared an answer's last word ends with, or -1. An ending
// joined by a hyphen (1848-ban, USA-ban) is one however short the word.
int shared_ending(std::u32string_view answer) {
  const auto all = words(answer);
  if (all.empty()) return -1;
  const std::u32string& w = all.back().text;
  const bool hyphened = all.back().at > 0 && answer[all.back().at - 1] == U'-';
  for (std::size_t k = 0; k < std::size(kShared); ++k) {
    for (const std::u32string_view e : kShared[k].endings) {
      if (!e.empty() && ends_with(w, e) && (hyphened ? w.size() == e.size() : w.size() >= e.size() + 3)) {
        return static_cast<int>(k);
      }
    }
  }
  if (doubled_consonant_before_al(w)) return static_cast<int>(std::size(kShared) - 1);
  return -1;
}

std::string ending_names(const Ending& e) {
  std::string out;
  for (const std::u32string_view s : e.endings) {
    if (!s.empty()) out += (out.empty() ? "-" : "/-") + text::utf8_of(s);
  }
  return out;
}

void odd_form(const std::array<std::string, 4>& utf8, const std::array<std::u32string, 4>& answers, bool case_asked,
              std::vector<Finding>& out) {
  // Three numbers and a word.
  std::array<bool, 4> numeric{};
  for (std::size_t i = 0; i < 4; ++i) numeric[i] = number(utf8[i]).has_value();
  if (std::count(numeric.begin(), numeric.end(), true) == 3) {
    const auto i = static_cast<std::size_t>(std::find(numeric.begin(), numeric.end(), false) - numeric.begin());
    if (std::none_of(answers[i].begin(), answers[i].end(), is_digit)) {
      out.push_back({static_cast<int>(i + 1), 1, kOddForm,
                     both("a(z) " + letter(i) + " válasz nem szám, a másik három igen",
                          "answer " + letter(i) + " is not a number; the other three are")});
    }
  }
  // Three with one case ending and one without (the question word's own
  // case is the agreement check's).
  if (!case_asked) {
    std::array<int, 4> ending{};
    for (std::size_t i = 0; i < 4; ++i) ending[i] = shared_ending(answers[i]);
    for (std::size_t i = 0; i < 4; ++i) {
      const int others = ending[(i + 1) % 4];
      if (others < 0 || ending[(i + 2) % 4] != others || ending[(i + 3) % 4] != others) continue;
      const Ending& e = kShared[static_cast<std::size_t>(others)];
      if (agrees_strictly(e.kind, last_word(answers[i]))) continue;
      const std::string names = ending_names(e);
      out.push_back({static_cast<int>(i + 1), 1, kOddForm,
                     both("a(z) " + letter(i) + " válasz nem " + names + " végű, a másik három igen",
                          "answer " + letter(i) + " does not end in " + names + " as the other three do")});
      break;
    }
  }
  // One much longer, and of more words, than all the others.
  std::array<std::size_t, 4> order = {0, 1, 2, 3};
  std::sort(order.begin(), order.end(),
            [&](std::size_t a, std::size_t b) { return answers[a].size() > answers[b].size(); });
  const std::size_t longest = answers[order[0]].size();
  const std::size_t next = answers[order[1]].size();
  // Words as a reader counts them: separated by spaces (Hewlett-Packard is one).
  const auto spaced = [](std::u32string_view s) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); ++i) n += s[i] != U' ' && (i == 0 || s[i - 1] == U' ') ? 1 : 0;
    return n;
  };
  if (longest >= 2 * next && longest >= next + 10) {
    const std::size_t count = spaced(answers[order[0]]);
    bool more = true;
    for (std::size_t k = 1; k < 4; ++k) more = more && spaced(answers[order[k]]) < count;
    if (more) {
      const std::string i = letter(order[0]);
      out.push_back({static_cast<int>(order[0] + 1), 1, kOddForm,
                     both("a(z) " + i + " válasz jóval hosszabb a többinél (" + std::to_string(longest) +
                              " karakter, a többi legfeljebb " + std::to_string(next) + ")",
                          "answer " + i + " is much longer than the others (" + std::to_string(longest) +
                              " characters; the others at most " + std::to_string(next) + ")")});
    }
  }
}

std::string trimmed(std::string_view s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(s.substr(first, s.find_last_not_of(' ') - first + 1));
}

bool digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<Number> number(std::string_view utf8) {
  const std::string s = trimmed(utf8);
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  if (i >= s.size() || !digit(s[i])) return std::nullopt;
  std::string digits;
  const std::size_t start = i;
  while (i < s.size() && digit(s[i])) digits.push_back(s[i++]);
  if (i - start <= 3) {
    while (i + 3 < s.size() && s[i] == ' ' && digit(s[i + 1]) && digit(s[i + 2]) && digit(s[i + 3]) &&
           (i + 4 == s.size() || !digit(s[i + 4]))) {
      digits.append(s, i + 1, 3);
      i += 4;
    }
  }
  long double value = 0;
  for (const char c : digits) value = value * 10 + (c - '0');
  if (i + 1 < s.size() && s[i] == ',' && digit(s[i + 1])) {
    long double scale = 1;
    for (++i; i < s.size() && digit(s[i]); ++i) value += (s[i] - '0') * (scale /= 10);
  }
  Number n{negative ? -value : value, trimmed(std::string_view(s).substr(i))};
  if (!n.unit.empty() && (digit(n.unit[0]) || n.unit[0] == ',')) return std::nullopt;
  return n;
}

std::vector<Finding> wording_findings(std::string_view question, const std::array<std::string, 4>& answers, int right) {
  std::vector<Finding> out;
  const std::u32string q = text::decode(question);
  std::array<std::u32string, 4> a;
  for (std::size_t i = 0; i < 4; ++i) a[i] = text::decode(answers[i]);
  if (right >= 0 && right < 4) giveaway(q, a, static_cast<std::size_t>(right), out);
  group_spaces(q, 0, out);
  for (std::size_t i = 0; i < 4; ++i) group_spaces(a[i], static_cast<int>(i + 1), out);
  const Expectation e = expectation(q);
  odd_form(answers, a, e.wanted != Case::kNone, out);
  if (e.wanted != Case::kNone) agreement(q, a, e, out);
  return out;
}

}  // namespace questions
