// Orders: reading, the offer timer, delivery and failure, the outcome, the panel, the sample.
#include "TestSupport.h"
#include "app/Main.h"
#include "base/Cp1250.h"

namespace {

// A fresh working folder whose Data/Objednav.dat holds the given text (in code page 1250).
struct OrderFolder : TTestFolder {
  explicit OrderFolder(const std::string& ordersUtf8) : TTestFolder("orders") {
    WriteFile("Data/Objednav.dat", Utf8ToCp1250(ordersUtf8));
  }
};

// Level 1 has four orders; level 2 has none; level 3 has one, of garlic.
constexpr const char* kOrders =
    "[ProLevel1Objednavka0]\nText=Tři květáky.\nCena=300\nMesice=2\nNezplneni=100\n"
    "Zelenina[0]=3\n"
    "[ProLevel1Objednavka1]\nText=Pět mrkví do konce měsíce.\nCena=200\nMesice=1\n"
    "Nezplneni=80\nZelenina[2]=5\n"
    "[ProLevel1Objednavka2]\nText=Kedluben hned.\nCena=90\nMesice=0\nNezplneni=10\n"
    "Zelenina[1]=2\n"
    "[ProLevel1Objednavka3]\nText=Česnek.\nCena=500\nMesice=65539\nNezplneni=0\n"
    "Zelenina[3]=4\nZelenina[0]=1\n"
    "[ProLevel3Objednavka0]\nText=Šest paliček česneku.\nCena=260\nMesice=1\nNezplneni=45\n"
    "Zelenina[3]=6\n";

constexpr int kOkX = 480, kOkY = 550;        // inside the OK button
constexpr int kCloseX = 560, kCloseY = 550;  // inside the close button

// A game in the game view with the orders panel on the offer of order `number` of level 1.
struct OrderGame {
  TGame g;
  explicit OrderGame(int32_t number = 0) {
    g.InGame = true;
    g.LevelNumber = 1;
    g.OrderIndex = number;
    g.PickNewOrder = false;
    g.OrderOfferTimer = 0;
    g.OrdersPanelOpen = true;
  }
  void Accept(const TGameDate& on) {
    g.Date = on;
    g.OrdersPanelOpen = true;
    g.OrdersPanel(kOkX, kOkY, nullptr, true);
    ASSERT_TRUE(g.OrderActive);
  }
  void StepOn(const TGameDate& day) {
    g.Date = day;
    g.CheckOrder();
  }
};

// The order last read: its text, price, penalty, months and pieces.
auto Offered() {
  const uint32_t* pieces = OfferedOrder.Zelenina;
  return std::tuple(Cp1250ToUtf8(OfferedOrder.Text), OfferedOrder.Cena, OfferedOrder.Nezplneni,
                    OfferedOrder.Mesice, std::vector<uint32_t>(pieces, pieces + 4));
}
using TPieces = std::vector<uint32_t>;

void ExpectTimerRearmed(const TGame& g) {
  EXPECT_GE(g.OrderOfferTimer, 6000u);
  EXPECT_LT(g.OrderOfferTimer, 12000u);
}

TEST(OrderRead, ReadsTheKeysDrawsTheOfferOnceWritesTheSampleAndTheTimerOpensThePanel) {
  OrderFolder folder(kOrders);
  TGame g;
  g.ReadOrder(1, 3);
  EXPECT_EQ(g.OrderIndex, 3);
  EXPECT_EQ(Offered(), std::tuple("Česnek.", 500, 0, 3, TPieces{1, 0, 0, 4}));  // months in 16 bits
  g.ReadOrder(1, 2);
  EXPECT_EQ(Offered(), std::tuple("Kedluben hned.", 90, 10, 0, TPieces{0, 2, 0, 0}));
  g.ReadOrder(2, 1);
  EXPECT_EQ(Offered(),
            std::tuple("Bohužel žádná objednávka tu nyní není", 0, 0, 0, TPieces{0, 0, 0, 0}));
  // An offer draws its number once and keeps it.
  g.OrderIndex = 77;
  g.PickNewOrder = false;
  g.ReadOrder(1, 1000);
  EXPECT_EQ(g.OrderIndex, 77);  // nothing new to draw: the last number stays
  g.PickNewOrder = true;
  g.ReadOrder(1, 1000);
  const int32_t drawn = g.OrderIndex;
  EXPECT_GE(drawn, 0);
  EXPECT_LE(drawn, 3);
  EXPECT_FALSE(g.PickNewOrder);
  for (int i = 0; i < 10; ++i) g.ReadOrder(1, 1000);
  EXPECT_EQ(g.OrderIndex, drawn);
  // The sample order of the digit key 3 replaces order 0 of the level and keeps the others.
  TGame s;
  s.WriteSampleOrder(1);
  s.ReadOrder(1, 0);
  EXPECT_TRUE(Cp1250ToUtf8(OfferedOrder.Text).starts_with("Soukromý podnikatel z Ostravy"));
  EXPECT_EQ(std::tuple(OfferedOrder.Cena, OfferedOrder.Mesice, OfferedOrder.Zelenina[0],
                       OfferedOrder.Zelenina[2]),
            std::tuple(1300, 12, 50u, 40u));
  s.ReadOrder(1, 1);
  EXPECT_EQ(Cp1250ToUtf8(OfferedOrder.Text), "Pět mrkví do konce měsíce.");
  // The offer timer counts down, opens the panel and stops at zero.
  g.OrderOfferTimer = 2;
  g.HoverX = 4;
  for (const auto& [timer, open] : {std::pair{1u, false}, {0u, true}, {0u, true}}) {
    g.CheckOrder();
    EXPECT_EQ(std::pair(g.OrderOfferTimer, g.OrdersPanelOpen), std::pair(timer, open));
    EXPECT_EQ(g.HoverX, open ? -1 : 4);
  }
  g.OrderOfferTimer = 50;
  g.OrderActive = true;
  g.OrderDeadline = TGameDate(1, 1, 2100);
  g.CurrentOrder.Zelenina[0] = 1;
  g.CheckOrder();
  EXPECT_EQ(g.OrderOfferTimer, 50u);  // no offers while an order runs
}

// The orders of the file above as it writes them: level, number, price, penalty, pieces.
struct WrittenOrder {
  int32_t level, number, price, penalty;
  int32_t pieces[4];
};
constexpr WrittenOrder kCauliflowers{1, 0, 300, 100, {3, 0, 0, 0}};
constexpr WrittenOrder kCarrots{1, 1, 200, 80, {0, 0, 5, 0}};
constexpr WrittenOrder kKohlrabi{1, 2, 90, 10, {0, 2, 0, 0}};
constexpr WrittenOrder kTwoKinds{1, 3, 500, 0, {1, 0, 0, 4}};
constexpr WrittenOrder kGarlic{3, 0, 260, 45, {0, 0, 0, 6}};

// Each vegetable is delivered up to the deadline day; late, the file's penalty is taken.
TEST(OrderDeadline, DeliveredUpToTheDeadlineDayAndFailedOnTheDayAfter) {
  // What, the order, the day it is accepted, its deadline, the last day and the day after.
  const std::tuple<const char*, const WrittenOrder*, TGameDate, const char*, TGameDate, TGameDate>
      cases[] = {
          {"cauliflower", &kCauliflowers, {10, 3, 2002}, "10.5.2002", {10, 5, 2002}, {11, 5, 2002}},
          {"carrots, to 31.2", &kCarrots, {31, 1, 2002}, "31.2.2002", {28, 2, 2002}, {1, 3, 2002}},
          {"kohlrabi, Mesice 0", &kKohlrabi, {5, 6, 2002}, "5.6.2002", {5, 6, 2002}, {6, 6, 2002}},
          {"garlic", &kGarlic, {20, 7, 2002}, "20.8.2002", {20, 8, 2002}, {21, 8, 2002}},
          {"two kinds", &kTwoKinds, {15, 12, 2002}, "15.3.2003", {15, 3, 2003}, {16, 3, 2003}},
      };
  for (const auto& [name, order, accepted, deadline, lastDay, dayAfter] : cases) {
    for (const bool late : {false, true}) {
      SCOPED_TRACE(std::string(name) + (late ? ", the day after" : ", on the last day"));
      const WrittenOrder& w = *order;
      OrderFolder folder(kOrders);
      OrderGame o(w.number);
      o.g.LevelNumber = w.level;
      o.g.Money = 1000;
      o.Accept(accepted);
      EXPECT_EQ(DateToText(o.g.OrderDeadline), deadline);
      for (int crop = 0; crop < 4; ++crop) {
        if (w.pieces[crop] == 0) continue;
        for (int other = 0; other < 4; ++other)
          o.g.ShedStock[other] = w.pieces[other] - (other == crop ? 1 : 0);
        o.StepOn(accepted);
        EXPECT_FALSE(o.g.OrderFulfilled || o.g.OrderFailed) << "one short of " << crop;
      }
      std::copy(std::begin(w.pieces), std::end(w.pieces), o.g.ShedStock);
      o.g.ShedStock[1] += 7;  // kohlrabi the order does not ask for
      o.StepOn(late ? dayAfter : lastDay);
      EXPECT_EQ(
          std::tuple(o.g.OrdersPanelOpen, o.g.OrderFulfilled, o.g.OrderFailed, o.g.Money,
                     o.g.OrdersDone),
          std::tuple(true, !late, late, late ? 1000 - w.penalty : 1000 + w.price, late ? 0 : 1));
      // A delivery takes exactly what the order asks; a failure takes nothing from the shed.
      for (int crop = 0; crop < 4; ++crop)
        EXPECT_EQ(o.g.ShedStock[crop], (late ? w.pieces[crop] : 0) + (crop == 1 ? 7 : 0)) << crop;
      ExpectTimerRearmed(o.g);
    }
  }
}

TEST(OrderOutcome, IsTakenOnceOnlyOkEndsItAndTheMoneyStaysWithinItsBounds) {
  for (bool deliver : {true, false}) {
    OrderFolder folder(kOrders);
    OrderGame o(0);
    o.g.Money = 1000;
    o.Accept({1, 4, 2002});
    o.g.ShedStock[0] = deliver ? 10 : 0;
    o.StepOn(deliver ? TGameDate(1, 5, 2002) : TGameDate(2, 6, 2002));
    ASSERT_TRUE(deliver ? o.g.OrderFulfilled : o.g.OrderFailed);
    const int32_t money = o.g.Money, stock = o.g.ShedStock[0];
    EXPECT_EQ(stock, deliver ? 7 : 0);  // a delivery takes what the order asks, no more
    o.g.ShedStock[0] = stock + 10;  // enough for another delivery, on either side of the deadline
    for (const TGameDate& day : {TGameDate(1, 5, 2002), TGameDate(1, 8, 2002)}) o.StepOn(day);
    o.g.OrdersPanel(kCloseX, kCloseY, nullptr, true);  // not drawn here, so it must not act
    EXPECT_TRUE(o.g.OrdersPanelOpen && o.g.OrderActive);
    EXPECT_TRUE(deliver ? o.g.OrderFulfilled : o.g.OrderFailed);
    for (const TGameDate& day : {TGameDate(1, 5, 2002), TGameDate(1, 8, 2002)}) o.StepOn(day);
    EXPECT_EQ(std::tuple(o.g.Money, o.g.ShedStock[0], o.g.OrdersDone),
              std::tuple(money, stock + 10, deliver ? 1 : 0));
    o.g.OrdersPanel(kOkX, kOkY, nullptr, true);
    EXPECT_FALSE(o.g.OrderActive || o.g.OrderFulfilled || o.g.OrderFailed || o.g.OrdersPanelOpen);
    ExpectTimerRearmed(o.g);
    o.StepOn({2, 8, 2002});
    EXPECT_EQ(std::tuple(o.g.Money, o.g.OrdersDone), std::tuple(money, deliver ? 1 : 0));
  }
  // The money stays within zero and what it can hold: after an order of one kohlrabi, delivered
  // on its deadline day or failed after it.
  OrderFolder folder("");
  auto settled = [](int32_t money, int32_t price, int32_t penalty, bool deliver) {
    TGame g;
    g.Money = money;
    g.OrderActive = true;
    g.CurrentOrder.Cena = price;
    g.CurrentOrder.Nezplneni = penalty;
    g.CurrentOrder.Zelenina[1] = 1;
    g.ShedStock[1] = deliver ? 1 : 0;
    g.OrderDeadline = TGameDate(1, 1, 2002);
    g.Date = deliver ? TGameDate(1, 1, 2002) : TGameDate(2, 1, 2002);
    g.CheckOrder();
    return g.Money;
  };
  EXPECT_EQ(settled(50, 0, 80, false), 0);                      // a penalty past the money
  EXPECT_EQ(settled(INT32_MAX - 10, 100, 0, true), INT32_MAX);  // a price past the largest sum
}

TEST(OrderPanel, DeclinesByCloseOrOnThePlaceholderAndAcceptsByOkOnItsButtonsAlone) {
  // What, the level, the offer timer (0 when it opened the panel), where the click goes.
  const std::tuple<const char*, int32_t, uint32_t, int, int> cases[] = {
      {"close after the timer", 1, 0, kCloseX, kCloseY},
      {"close after the digit key 6", 1, 300, kCloseX, kCloseY},
      {"OK on the placeholder", 2, 0, kOkX, kOkY},
  };
  for (const auto& [name, level, timer, x, y] : cases) {
    SCOPED_TRACE(name);
    OrderFolder folder(kOrders);
    OrderGame o;
    o.g.LevelNumber = level;
    o.g.OrderOfferTimer = timer;
    o.g.Money = 100;
    o.g.OrdersPanel(0, 0, nullptr, false);  // the offer is drawn
    o.g.OrdersPanel(x, y, nullptr, true);
    EXPECT_FALSE(o.g.OrdersPanelOpen || o.g.OrderActive || !o.g.PickNewOrder);
    if (timer == 0) {
      ExpectTimerRearmed(o.g);
    } else {
      EXPECT_EQ(o.g.OrderOfferTimer, timer);
    }
    o.StepOn({2, 1, 2002});
    EXPECT_EQ(std::tuple(o.g.OrdersDone, o.g.Money), std::tuple(0, 100));
  }
  // OK accepts the offer shown; clicks off the buttons or outside the game view do nothing.
  OrderFolder folder(kOrders);
  OrderGame o(3);
  o.g.OrdersPanel(kOkX - 9, kOkY, nullptr, true);         // just left of OK
  o.g.OrdersPanel(kCloseX + 12, kCloseY, nullptr, true);  // just right of close
  for (bool TGame::*screen : {&TGame::InGame, &TGame::OptionsOpen, &TGame::LevelStatsOpen}) {
    o.g.*screen = !(o.g.*screen);
    o.g.OrdersPanel(kOkX, kOkY, nullptr, true);
    o.g.*screen = !(o.g.*screen);
  }
  EXPECT_TRUE(o.g.OrdersPanelOpen && !o.g.OrderActive);
  o.Accept({15, 12, 2002});
  EXPECT_EQ(std::tuple(o.g.CurrentOrder.Cena, Cp1250ToUtf8(o.g.CurrentOrder.Text),
                       DateToText(o.g.OrderDeadline), o.g.OrderIndex),
            std::tuple(500, "Česnek.", "15.3.2003", 3));
}

}  // namespace
