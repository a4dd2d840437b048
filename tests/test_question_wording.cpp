// SPDX-License-Identifier: GPL-3.0-or-later
// The question tool's editorial checks: the readers' estimates in a source,
// the warnings on a question's wording and their acknowledgement, and the
// difficulty of a graded series.

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "questions/difficulty.hpp"
#include "questions/source.hpp"
#include "questions/wording.hpp"

namespace {

// A question with its four answers, the first of them right unless `right`
// says otherwise.
std::string q(const std::string& question, std::initializer_list<const char*> four, int right = 0) {
  std::string out = "? " + question + "\n";
  int i = 0;
  for (const char* a : four) out += std::string(i++ == right ? "+ " : "- ") + a + "\n";
  return out;
}

std::vector<std::string> all(const questions::Compiled& c) {
  std::vector<std::string> out;
  for (const auto& d : c.diagnostics) out.push_back(questions::format("x.txt", d));
  return out;
}

// The diagnostics of one kind ("" for those without one), as
// "line:column" strings.
std::vector<std::string> where(const questions::Compiled& c, std::string_view kind, bool error = false) {
  std::vector<std::string> out;
  for (const auto& d : c.diagnostics) {
    if (d.kind == kind && d.error == error) out.push_back(std::to_string(d.line) + ":" + std::to_string(d.column));
  }
  return out;
}

// The findings of one kind on one question.
std::vector<questions::Finding> findings(const std::string& question, const std::array<std::string, 4>& answers,
                                         std::string_view kind, int right = 0) {
  auto out = questions::wording_findings(question, answers, right);
  std::erase_if(out, [&](const questions::Finding& f) { return f.kind != kind; });
  return out;
}

std::string said(const std::vector<questions::Finding>& f) {
  std::string out;
  for (const auto& x : f) out += std::to_string(x.field) + "@" + std::to_string(x.column) + " " + x.message + "\n";
  return out;
}

TEST(QuestionEstimates, BelongToTheirQuestionsBlock) {
  const auto c = questions::compile(
      "# Alapértelmezett kérdések, 1. szint\n"                       // 1
      "\n"                                                           // 2
      "# Forrás: Magyar Wikipédia: Hold\n"                           // 3
      "# Becslés: 85% 90%\n" +                                       // 4
      q("Mi a Föld kísérője?", {"Hold", "Nap", "Mars", "Vénusz"}) +  // 5-9
      "\n" +                                                         // 10
      q("Hány lába van a póknak?", {"8", "6", "10", "4"}) +          // 11-15
      "# Becsles: 0% 100% 7%\n"                                      // 16: after the answers, in the block
      "\n"                                                           // 17
      "# Becslés: 40%\n"                                             // 18: a block of its own ...
      "\n" +                                                         // 19
      q("Melyik évben volt a mohácsi csata?", {"1526", "1456", "1541", "1686"}) +  // 20
      "\n# Becslések szerint is könnyű.\n"                                         // free comments
      "# Becslés szerint könnyű.\n"
      "# Ellenőrizve: Kovács Éva, 2026. március\n" +
      q("Ki írta a Toldit?", {"Arany János", "Petőfi Sándor", "Jókai Mór", "Ady Endre"}));
  ASSERT_TRUE(c.ok()) << ::testing::PrintToString(all(c));
  ASSERT_EQ(c.entries.size(), 4U);
  EXPECT_EQ(c.entries[0].line, 5);
  EXPECT_EQ(c.entries[0].estimates, (std::vector<int>{85, 90}));
  EXPECT_EQ(c.entries[1].estimates, (std::vector<int>{0, 100, 7})) << "without accents too, below the answers";
  EXPECT_EQ(c.entries[2].estimates, (std::vector<int>{40})) << "... belongs to the next question";
  EXPECT_TRUE(c.entries[3].estimates.empty());
  EXPECT_DOUBLE_EQ(questions::mean_estimate(c.entries[1].estimates), 107.0 / 3);
}

TEST(QuestionEstimates, AMalformedLineIsAnErrorWithItsColumn) {
  const std::string one = q("Mi a Föld kísérője?", {"Hold", "Nap", "Mars", "Vénusz"});
  const auto errors = [&](const std::string& line) {
    const auto c = questions::compile(line + "\n" + one);
    EXPECT_FALSE(c.ok()) << line;
    std::vector<std::string> out;
    for (const auto& d : c.diagnostics) {
      if (d.error) out.push_back(std::to_string(d.line) + ":" + std::to_string(d.column) + " " + d.message);
    }
    return out;
  };
  const auto first = [&](const std::string& line) {
    const auto e = errors(line);
    return e.empty() ? std::string() : e[0];
  };
  EXPECT_EQ(first("# Becslés: 85 90%").rfind("1:12 ", 0), 0U) << first("# Becslés: 85 90%");
  EXPECT_NE(first("# Becslés: 85 90%").find("\"85\" lacks its % sign"), std::string::npos);
  EXPECT_EQ(first("# Becslés: 85% 120%").rfind("1:16 ", 0), 0U);
  EXPECT_NE(first("# Becslés: 85% 120%").find("at most 100%: 120%"), std::string::npos);
  EXPECT_NE(first("# Becslés: 85,5%").find("malformed estimate \"85,5%\""), std::string::npos);
  EXPECT_NE(first("# Becslés: 85%, 90%").find("malformed estimate \"85%,\""), std::string::npos);
  EXPECT_NE(first("# Becslés: körülbelül 85%").find("1:12 "), std::string::npos);
  EXPECT_NE(first("# Becslés: 1000%").find("malformed"), std::string::npos);
  EXPECT_EQ(first("# Becslés 85%").rfind("1:10 ", 0), 0U) << "the colon's place: " << first("# Becslés 85%");
  EXPECT_NE(first("# Becslés:").find("holds no estimate"), std::string::npos);
  EXPECT_NE(first("#Becslés:   ").find("holds no estimate"), std::string::npos);
  EXPECT_EQ(errors("# Becslés: 85 x% 300%").size(), 3U) << "every bad estimate of the line";

  // Two estimate lines for one question; one that belongs to none.
  const auto twice = questions::compile("# Becslés: 80%\n# Becslés: 90%\n" + one);
  EXPECT_EQ(where(twice, "", true), (std::vector<std::string>{"2:0"}));
  EXPECT_EQ(twice.entries[0].estimates, (std::vector<int>{80}));
  const auto orphan = questions::compile(one + "\n# Becslés: 90%\n");
  EXPECT_EQ(where(orphan, "", true), (std::vector<std::string>{"7:0"}));
  EXPECT_NE(all(orphan)[0].find("belongs to no question"), std::string::npos);
}

// Each wording warning, raised where a careful editor would raise it and
// silent where the wording is right.
TEST(QuestionWording, TheRightAnswersWordInTheQuestion) {
  using A = std::array<std::string, 4>;
  const auto giveaway = [](const std::string& question, const A& answers, int right = 0) {
    return findings(question, answers, questions::kGiveaway, right);
  };
  const auto one = giveaway("Hogy hívják Micimackó kismalac barátját?", {"Malacka", "Füles", "Tigris", "Kanga"});
  ASSERT_EQ(one.size(), 1U);
  EXPECT_EQ(one[0].column, 23) << "at the question's word";
  EXPECT_EQ(one[0].field, 0);
  EXPECT_NE(one[0].message.find("\"kismalac\" gives the right answer away (\"Malacka\")"), std::string::npos);
  EXPECT_EQ(giveaway("Melyik a legnagyobb vonós hangszer a zenekarban?",
                     {"a cselló", "a nagybőgő", "a brácsa", "a hegedű"}, 1)
                .size(),
            1U);
  EXPECT_EQ(giveaway("Melyik klub otthona a müncheni Allianz Arena?",
                     {"Bayern München", "Borussia Dortmund", "Schalke 04", "Hamburger SV"})
                .size(),
            1U);
  EXPECT_EQ(
      giveaway("Mit mutat a szélkakas?", {"a szél irányát", "a hőmérsékletet", "a pontos időt", "a légnyomást"}).size(),
      1U);
  EXPECT_EQ(
      giveaway("Ki gyógyítja a beteg állatokat?", {"az állatorvos", "a fogorvos", "a gyógyszerész", "a tanító"}).size(),
      1U);

  // Silent: a word every answer shares names the kind of answer asked for;
  // a common word or a short one gives nothing away; neither does a wrong
  // answer's word.
  EXPECT_EQ(said(giveaway("Melyik tenger partján fekszik Horvátország?",
                          {"Adriai-tenger", "Balti-tenger", "Északi-tenger", "Fekete-tenger"})),
            "");
  EXPECT_EQ(said(giveaway("Melyik országban áll a pisai ferde torony?",
                          {"Olaszországban", "Spanyolországban", "Franciaországban", "Görögországban"})),
            "");
  EXPECT_EQ(said(giveaway("Melyik a Föld legnagyobb területű országa?",
                          {"Oroszország", "Kanada", "Kína", "Egyesült Államok"})),
            "");
  EXPECT_EQ(said(giveaway("Hány napból áll egy szökőév?", {"366 nap", "365 nap", "364 nap", "367 nap"})), "");
  EXPECT_EQ(said(giveaway("Ki írta a Toldit?", {"Arany János", "Petőfi Sándor", "Jókai Mór", "Toldi Miklós"})), "");
  EXPECT_EQ(
      said(giveaway("Melyik bolygó a legnagyobb a Naprendszerben?", {"Jupiter", "Szaturnusz", "Neptunusz", "Föld"})),
      "");
  EXPECT_EQ(said(giveaway("Melyik madár nem tud repülni?", {"a strucc", "a veréb", "a fecske", "a gólya"})), "");
  EXPECT_EQ(said(giveaway("Anna idősebb Bélánál, Béla pedig idősebb Csabánál. Ki a legfiatalabb?",
                          {"Csaba", "Anna", "Béla", "nem lehet tudni"})),
            "")
      << "every option stands in the question";
}

TEST(QuestionWording, AGroupSpaceInAFourDigitNumber) {
  const auto group = [](const std::string& question, const std::array<std::string, 4>& answers) {
    return findings(question, answers, questions::kGroupSpace);
  };
  const auto f = group("Hány méter magas a 2 000 méteres csúcs fele?", {"1 000 m", "500 m", "1 500 m", "10 000 m"});
  ASSERT_EQ(f.size(), 3U) << said(f);
  EXPECT_EQ(f[0].field, 0);
  EXPECT_EQ(f[0].column, 20);
  EXPECT_NE(f[0].message.find("\"2 000\"; write it as 2000"), std::string::npos) << f[0].message;
  EXPECT_EQ(f[1].field, 1);
  EXPECT_EQ(f[1].column, 1);
  EXPECT_EQ(f[2].field, 3);
  // Five digits and more keep their spaces; written together is right.
  EXPECT_EQ(said(group("Mennyi 10 000 meg 1 000 000?", {"1 010 000", "12 345", "1000", "1,5"})), "");
  EXPECT_EQ(said(group("Hány forint 1 500 000 000?", {"999 999", "100 000", "3 600 000", "2 3"})), "");
  // A group space of the code page's own (no-break space) counts alike.
  EXPECT_EQ(group("Mennyi?", {"1\u00A0024", "2", "3", "4"}).size(), 1U);
}

TEST(QuestionWording, AnAnswerOfAnotherForm) {
  const auto odd = [](const std::string& question, const std::array<std::string, 4>& answers) {
    return findings(question, answers, questions::kOddForm);
  };
  // Three numbers and a word.
  auto f = odd("Hány lába van a póknak?", {"8", "6", "10", "egyik sem"});
  ASSERT_EQ(f.size(), 1U);
  EXPECT_EQ(f[0].field, 4);
  EXPECT_NE(f[0].message.find("answer D is not a number"), std::string::npos);
  EXPECT_EQ(said(odd("Hány lába van a póknak?", {"8", "6", "10", "12"})), "");
  EXPECT_EQ(said(odd("Hol rendezték az olimpiát?", {"1936, Berlin", "1948, London", "1952, Helsinki", "Melbourne"})),
            "")
      << "not numbers, a year and a city";
  // Three with one case ending and one without.
  f = odd("Az első újkori olimpiát 1896-ban rendezték:", {"Athénban", "Párizsban", "Londonban", "Berlin"});
  ASSERT_EQ(f.size(), 1U) << said(f);
  EXPECT_EQ(f[0].field, 4);
  EXPECT_NE(f[0].message.find("does not end in -ban/-ben"), std::string::npos);
  EXPECT_EQ(odd("A kiegyezés éve:", {"1848-ban", "1849-ben", "1867-ben", "1956"}).size(), 1U);
  EXPECT_EQ(said(odd("A Loch Ness tó található:", {"Skóciában", "Írországban", "Norvégiában", "Izlandon"})), "")
      << "another locative agrees";
  EXPECT_EQ(said(odd("Harry Potter iskolája:", {"a Durmstrangba", "a Beauxbatonsba", "az Abszol útra", "a Roxfortba"})),
            "");
  EXPECT_EQ(said(odd("Ki a legidősebb?", {"Klára", "Sára", "Dóra", "Anna"})), "") << "names ending as -ra do";
  // One answer much longer, and of more words, than all the others.
  f = odd("Milyen műfajú Petőfi Sándor János vitéze?", {"regény", "dráma", "elbeszélő költemény", "novella"});
  ASSERT_EQ(f.size(), 1U);
  EXPECT_EQ(f[0].field, 3);
  EXPECT_NE(f[0].message.find("answer C is much longer than the others (19 characters; the others at most 7)"),
            std::string::npos);
  EXPECT_EQ(
      said(odd("Melyik cég egyik elődjét alapította Herman Hollerith?", {"IBM", "Hewlett-Packard", "Intel", "Xerox"})),
      "");
  EXPECT_EQ(said(odd("Ki ért először Amerikába?", {"Kolumbusz Kristóf", "Magellán", "Vasco da Gama", "Cook"})), "");
}

TEST(QuestionWording, AnswersThatDoNotAgreeWithTheQuestionWord) {
  const auto agree = [](const std::string& question, const std::array<std::string, 4>& answers) {
    return findings(question, answers, questions::kAgreement);
  };
  auto f = agree("Melyik városban született Mozart?", {"Salzburg", "Bécsben", "Prága", "Münchenben"});
  ASSERT_EQ(f.size(), 1U);
  EXPECT_EQ(f[0].field, 0);
  EXPECT_EQ(f[0].column, 1);
  EXPECT_NE(f[0].message.find("\"Melyik városban\" asks for an answer in -ban/-ben"), std::string::npos);
  EXPECT_NE(f[0].message.find("answers A and C are not"), std::string::npos) << f[0].message;
  EXPECT_EQ(
      agree("Papp László melyik sportágban lett olimpiai bajnok?", {"ökölvívás", "birkózás", "cselgáncs", "vívás"})
          .at(0)
          .column,
      13);
  for (const auto& [question, answers] : std::vector<std::pair<std::string, std::array<std::string, 4>>>{
           {"Kinek kell örökké sziklát görgetnie a hegyre?", {"Sziszüphosz", "Tantalosz", "Ixión", "Tityosz"}},
           {"Hol termelődik az inzulin?", {"a májban", "a vesében", "a lépben", "a hasnyálmirigy"}},
           {"Melyik nyelvből ered a \"demokrácia\" szó?", {"görög", "latin", "francia", "angol"}},
           {"Kitől származik a \"Gondolkodom, tehát vagyok\" tétel?", {"René Descartes", "Kant", "Pascal", "Locke"}},
           {"Melyik ünnephez kötődik a locsolkodás?", {"Húsvét", "Karácsony", "Pünkösd", "Szilveszter"}},
           {"Kivel verte meg Toldi a cseh vitézt?", {"egyedül", "Miklóssal", "Bencével", "Lajossal"}},
           {"Melyik afrikai országban áll a Kilimandzsáró?", {"Tanzánia", "Kenya", "Uganda", "Etiópia"}},
           {"Melyik Harry Potter-könyvben jelenik meg Dobby?",
            {"A titkok kamrája", "A bölcsek köve", "A tűz serlege", "A Halál ereklyéi"}},
       }) {
    EXPECT_EQ(agree(question, answers).size(), 1U) << question;
  }

  // Silent where the answers agree, or a program cannot tell.
  for (const auto& [question, answers] : std::vector<std::pair<std::string, std::array<std::string, 4>>>{
           {"Melyik városban született Mozart?", {"Salzburgban", "Bécsben", "Prágában", "Münchenben"}},
           {"Melyik városban készül a Zsolnay porcelán?", {"Pécsett", "Herenden", "Hollóházán", "Kalocsán"}},
           {"Melyik évszakban szüretelik a szőlőt?", {"ősszel", "tavasszal", "nyáron", "télen"}},
           {"Milyen nyelven íródott az Újszövetség?", {"görögül", "latinul", "héberül", "arámiul"}},
           {"Melyik évben volt a mohácsi csata?", {"1526", "1456", "1541", "1686"}},
           {"Melyik napon ünnepeljük az államalapítást?", {"augusztus 20.", "március 15.", "május 1.", "október 23."}},
           {"Kinek a cipellője maradt a palota lépcsőjén?",
            {"Hamupipőkéé", "Hófehérkéé", "Piroskáé", "Csipkerózsikáé"}},
           {"Melyik mesefigura lakik egy ananászban?", {"SpongyaBob", "Micimackó", "Garfield", "Tapsi Hapsi"}},
           {"Melyik római isten felel meg Árésznek?", {"Mars", "Vulcanus", "Mercurius", "Neptunus"}},
           {"Melyik élőlénycsoportba tartozik a csiperke?",
            {"a gombák közé", "a növények közé", "az állatok közé", "a baktériumok közé"}},
           {"Mire adják a FIFA Puskás-díjat?",
            {"az év legszebb góljáért", "a legjobb védésért", "a fair playért", "a legtöbb gólért"}},
           {"Mivel köszönünk reggel?", {"Jó reggelt!", "Jó éjszakát!", "Jó étvágyat!", "Boldog új évet!"}},
           {"Melyik szóban van hosszú magánhangzó?", {"kút", "kutya", "kert", "kapu"}},
           {"Hányadik helyen végzett Magyarország?", {"első", "második", "harmadik", "negyedik"}},
           {"Melyik magyar nevéhez fűződik a gyufa?",
            {"Irinyi János", "Jedlik Ányos", "Bláthy Ottó", "Puskás Tivadar"}},
           {"Melyik Shakespeare-darab főhőse Prospero?",
            {"A vihar", "A makrancos hölgy", "A velencei kalmár", "A windsori víg nők"}},
           {"Milyen néven ismert az első vb-trófea?",
            {"Jules Rimet-kupa", "Henri Delaunay-kupa", "Mitropa Kupa", "Copa del Rey"}},
           {"Hol van a Föld legmélyebb pontja?",
            {"a Mariana-árokban", "a Holt-tengernél", "az Antarktiszon", "a Himalája alatt"}},
       }) {
    EXPECT_EQ(said(agree(question, answers)), "") << question;
  }
}

// In a source: each warning names line and column and its name, and a
// "# Nyugtázva:" line in the question's block silences that one warning
// for that question alone.
TEST(QuestionWording, WarningsInASourceAndTheirAcknowledgement) {
  const std::string giveaway = q("Hogy hívják Micimackó kismalac barátját?", {"Malacka", "Füles", "Tigris", "Kanga"});
  const std::string grouped = q("Hány méter egy kilométer?", {"10", "100", "1 000", "10 000"}, 2);
  const auto plain = questions::compile(giveaway + "\n" + grouped);
  EXPECT_EQ(where(plain, questions::kGiveaway), (std::vector<std::string>{"1:25"}));
  EXPECT_EQ(where(plain, questions::kGroupSpace), (std::vector<std::string>{"10:3"}));
  EXPECT_EQ(plain.diagnostics.size(), 2U) << ::testing::PrintToString(all(plain));
  EXPECT_NE(all(plain)[0].find("x.txt:1:25: figyelmeztetés / warning: a kérdés „kismalac”"), std::string::npos);
  EXPECT_NE(all(plain)[0].find(" [szo-a-kerdesben]"), std::string::npos) << "named for acknowledging";

  const auto checked = questions::compile("# Nyugtázva: szo-a-kerdesben\n" + giveaway + "\n" +  // 1-6
                                          "# Nyugtázva: ezres-tagolás, sorrend\n" + grouped);   // 8-13
  EXPECT_TRUE(where(checked, questions::kGiveaway).empty()) << ::testing::PrintToString(all(checked));
  EXPECT_TRUE(where(checked, questions::kGroupSpace).empty()) << "accents or none";
  // "sorrend" was not needed there: a stale acknowledgement is said.
  ASSERT_EQ(where(checked, ""), (std::vector<std::string>{"8:29"})) << ::testing::PrintToString(all(checked));
  EXPECT_NE(all(checked)[0].find("does not get the \"sorrend\" warning"), std::string::npos);

  // Only the question whose block holds it.
  const auto other = questions::compile(giveaway + "\n# Nyugtázva: szo-a-kerdesben\n" + grouped);
  EXPECT_EQ(where(other, questions::kGiveaway), (std::vector<std::string>{"1:25"}));

  const auto unknown = questions::compile("# Nyugtázva: ezres-tagolas minden\n" + grouped);
  EXPECT_FALSE(unknown.ok());
  EXPECT_EQ(where(unknown, "", true), (std::vector<std::string>{"1:28"}));
  EXPECT_NE(all(unknown)[0].find("unknown warning \"minden\""), std::string::npos);
  EXPECT_FALSE(questions::compile("# Nyugtázva:\n" + grouped).ok());
  const auto no_colon = questions::compile("# Nyugtazva ezres-tagolas\n" + grouped);
  EXPECT_EQ(where(no_colon, "", true), (std::vector<std::string>{"1:12"})) << ::testing::PrintToString(all(no_colon));
  EXPECT_TRUE(questions::compile("# Nyugtázva a szerkesztő.\n" + grouped).ok()) << "a free comment";
}

TEST(QuestionDifficulty, SpreadAndItsReportLine) {
  std::string source;
  for (const int e : {90, 80, 70, 60, 50}) {
    source += "# Becslés: " + std::to_string(e - 5) + "% " + std::to_string(e + 5) + "%\n" +
              q("Kérdés " + std::to_string(e) + "?", {"a", "b", "c", "d"}, e % 4) + "\n";
  }
  source += q("Becsületlen?", {"a", "b", "c", "d"}, 1);
  const auto c = questions::compile(source);
  ASSERT_TRUE(c.ok()) << ::testing::PrintToString(all(c));
  const auto s = questions::spread(c);
  EXPECT_EQ(s.questions, 6);
  EXPECT_EQ(s.estimated, 5);
  EXPECT_DOUBLE_EQ(s.median, 70);
  EXPECT_DOUBLE_EQ(s.lower_quartile, 60);
  EXPECT_DOUBLE_EQ(s.upper_quartile, 80);
  EXPECT_DOUBLE_EQ(s.lowest, 50);
  EXPECT_DOUBLE_EQ(s.highest, 90);
  EXPECT_EQ(questions::spread_line("Default/01.txt", s),
            "Default/01.txt: nehézség: 6 kérdésből 5 becsült; medián 70%, kvartilisek 60–80%, legkisebb–legnagyobb "
            "50–90% / difficulty: 5 of 6 questions estimated; median 70%, quartiles 60–80%, lowest–highest 50–90%");

  const auto halves = questions::compile("# Becslés: 85% 90%\n" + q("Egy?", {"a", "b", "c", "d"}) +
                                         "\n# Becslés: 80% 81%\n" + q("Kettő?", {"a", "b", "c", "d"}, 1));
  const std::string line = questions::spread_line("x.txt", questions::spread(halves));
  EXPECT_NE(line.find("medián 84%"), std::string::npos) << line;
  EXPECT_NE(line.find("kvartilisek 82,3–85,8%"), std::string::npos) << line;
  EXPECT_NE(line.find("quartiles 82.3–85.8%"), std::string::npos) << line;
  EXPECT_EQ(questions::spread_line("x.txt", questions::spread(questions::compile(q("Egy?", {"a", "b", "c", "d"})))),
            "x.txt: nehézség: 1 kérdés, egyiknek sincs becslése / difficulty: 1 questions, none with an estimate");
}

// A source of questions with these means, each from one reader.
questions::Compiled level(std::initializer_list<int> estimates, const std::string& tag) {
  std::string source;
  int n = 0;
  for (const int e : estimates) {
    ++n;
    source += "# Becslés: " + std::to_string(e) + "%\n" +
              q(tag + " " + std::to_string(n) + "?", {"a", "b", "c", "d"}, n % 4) + "\n";
  }
  return questions::compile(source);
}

std::vector<std::string> series(const std::vector<questions::Compiled>& levels) {
  std::vector<questions::NamedSource> named;
  std::vector<int> numbers;
  for (std::size_t i = 0; i < levels.size(); ++i) {
    named.push_back({"0" + std::to_string(i + 1) + ".txt", &levels[i]});
    numbers.push_back(static_cast<int>(i + 1));
  }
  std::vector<std::string> out;
  for (const auto& w : questions::series_warnings(named, numbers))
    out.push_back(questions::format(w.file, w.diagnostic));
  return out;
}

TEST(QuestionDifficulty, AGradedSeriesClimbsLevelByLevel) {
  EXPECT_EQ(questions::series_levels({"D/01.txt", "D/02.txt", "D/03.txt"}), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(questions::series_levels({"D/10.txt", "D/08.txt", "./D/09.txt"}), (std::vector<int>{10, 8, 9}));
  EXPECT_TRUE(questions::series_levels({"D/01.txt", "D/03.txt"}).empty()) << "a level missing";
  EXPECT_TRUE(questions::series_levels({"D/01.txt", "E/02.txt"}).empty()) << "two folders";
  EXPECT_TRUE(questions::series_levels({"D/01.txt", "D/01.txt"}).empty());
  EXPECT_TRUE(questions::series_levels({"D/01.txt", "D/szamtech.txt"}).empty());
  EXPECT_TRUE(questions::series_levels({"D/01.txt"}).empty()) << "one file is no series";
  EXPECT_TRUE(questions::series_levels({"D/1.txt", "D/2.txt"}).empty());

  // The ranks: 95 90 | 85 80 75 | 50 40 30 10 cut 3, 3, 3: the 10% question
  // of level 1 belongs to level 3; the 85% one of level 2 to level 1, next
  // door, as the 50% one of level 3 is.
  const std::vector<questions::Compiled> climbing = {level({95, 90, 10}, "Egy"), level({85, 80, 75}, "Kettő"),
                                                     level({50, 40, 30}, "Három")};
  EXPECT_EQ(series(climbing),
            (std::vector<std::string>{"01.txt:16: figyelmeztetés / warning: a kérdés becslése (átlag 10%) a(z) 3. "
                                      "szintre teszi, nem a(z) 1. szintre / the question's estimate (mean 10%) places "
                                      "it at level 3, not 1"}));

  // A level no harder than the one before.
  const std::vector<questions::Compiled> flat = {level({80, 70, 60}, "Egy"), level({90, 75, 50}, "Kettő")};
  EXPECT_EQ(series(flat),
            (std::vector<std::string>{"02.txt: figyelmeztetés / warning: a szint becsült mediánja 75%, nem kisebb az "
                                      "előző szinténél (01.txt: 70%) / the level's median estimate is 75%, not below "
                                      "the level before (01.txt: 70%)"}));

  // Equal estimates spanning levels 1 to 3: each such question takes the
  // level nearest its own.
  const std::vector<questions::Compiled> ties = {level({90, 50}, "Egy"), level({50, 50}, "Kettő"),
                                                 level({50, 10}, "Három")};
  EXPECT_EQ(series(ties), std::vector<std::string>{});
  // Questions without estimates stand outside the ranks.
  const std::vector<questions::Compiled> partial = {
      questions::compile("# Becslés: 90%\n" + q("Egy?", {"a", "b", "c", "d"}) + "\n" +
                         q("Más?", {"a", "b", "c", "d"}, 1)),
      level({60}, "Kettő")};
  EXPECT_EQ(series(partial), std::vector<std::string>{});
}

}  // namespace
