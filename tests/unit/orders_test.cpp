// Orders: reading them, the offer timer, delivery and failure around the deadline, the outcome
// taken only once, the panel's buttons in each view, and the sample order of the digit key 3.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "TestFolder.h"
#include "app/Main.h"
#include "base/Cp1250.h"
#include "game/Game.h"

namespace {

// A fresh working folder whose Data/Objednav.dat holds the given text (UTF-8 here, code page
// 1250 on disk).
struct OrderFolder : TTestFolder {
  explicit OrderFolder(const std::string& ordersUtf8) : TTestFolder("orders") {
    WriteFile("Data/Objednav.dat", Utf8ToCp1250(ordersUtf8));
  }
};

// Level 1 has four orders; level 2 has none.
constexpr const char* kOrders =
    "[ProLevel1Objednavka0]\nText=Tři květáky.\nCena=300\nMesice=2\nNezplneni=100\n"
    "Zelenina[0]=3\n"
    "[ProLevel1Objednavka1]\nText=Pět mrkví do konce měsíce.\nCena=200\nMesice=1\n"
    "Nezplneni=80\nZelenina[2]=5\n"
    "[ProLevel1Objednavka2]\nText=Kedluben hned.\nCena=90\nMesice=0\nNezplneni=10\n"
    "Zelenina[1]=2\n"
    "[ProLevel1Objednavka3]\nText=Česnek.\nCena=500\nMesice=65539\nNezplneni=0\n"
    "Zelenina[3]=4\nZelenina[0]=1\n";

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

void ExpectTimerRearmed(const TGame& g) {
  EXPECT_GE(g.OrderOfferTimer, 6000u);
  EXPECT_LT(g.OrderOfferTimer, 12000u);
}

TEST(OrderRead, ReadsTheKeysOffersThePlaceholderAndDrawsTheOfferOnce) {
  OrderFolder folder(kOrders);
  TGame g;
  g.ReadOrder(1, 3);
  EXPECT_EQ(g.OrderIndex, 3);
  EXPECT_EQ(Cp1250ToUtf8(OfferedOrder.Text), "Česnek.");
  EXPECT_EQ(OfferedOrder.Cena, 500);
  EXPECT_EQ(OfferedOrder.Mesice, 3);  // kept in 16 bits
  EXPECT_EQ(OfferedOrder.Zelenina[0], 1u);
  EXPECT_EQ(OfferedOrder.Zelenina[3], 4u);

  g.ReadOrder(2, 1);
  EXPECT_EQ(Cp1250ToUtf8(OfferedOrder.Text), "Bohužel žádná objednávka tu nyní není");
  EXPECT_EQ(OfferedOrder.Cena, 0);
  EXPECT_EQ(OfferedOrder.Mesice, 0);
  EXPECT_EQ(OfferedOrder.Zelenina[3], 0u);

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
}

TEST(OrderTimer, CountsDownOpensThePanelAndStopsAtZero) {
  OrderFolder folder(kOrders);
  TGame g;
  g.OrderOfferTimer = 2;
  g.HoverX = 4;
  g.CheckOrder();
  EXPECT_EQ(g.OrderOfferTimer, 1u);
  EXPECT_FALSE(g.OrdersPanelOpen);
  g.CheckOrder();
  EXPECT_EQ(g.OrderOfferTimer, 0u);
  EXPECT_TRUE(g.OrdersPanelOpen);
  EXPECT_EQ(g.HoverX, -1);
  g.CheckOrder();
  EXPECT_EQ(g.OrderOfferTimer, 0u);

  g.OrderOfferTimer = 50;
  g.OrderActive = true;
  g.OrderDeadline = TGameDate(1, 1, 2100);
  g.CurrentOrder.Zelenina[0] = 1;
  g.CheckOrder();
  EXPECT_EQ(g.OrderOfferTimer, 50u);  // no offers while an order runs
}

TEST(OrderDeadline, DeliveredUpToTheDeadlineDayAndFailedOnTheDayAfter) {
  struct Case {
    const char* name;
    int32_t order;
    TGameDate accepted;
    const char* deadline;
    TGameDate stocked;  // the day the shed first holds the goods
    bool delivered;
  };
  const Case cases[] = {
      {"on the deadline day", 0, {10, 3, 2002}, "10.5.2002", {10, 5, 2002}, true},
      {"the day after", 0, {10, 3, 2002}, "10.5.2002", {11, 5, 2002}, false},
      {"deadline 31.2, last day of February", 1, {31, 1, 2002}, "31.2.2002", {28, 2, 2002}, true},
      {"deadline 31.2, first of March", 1, {31, 1, 2002}, "31.2.2002", {1, 3, 2002}, false},
      {"Mesice 0, the day of acceptance", 2, {5, 6, 2002}, "5.6.2002", {5, 6, 2002}, true},
      {"Mesice 0, the next day", 2, {5, 6, 2002}, "5.6.2002", {6, 6, 2002}, false},
  };
  for (const Case& c : cases) {
    OrderFolder folder(kOrders);
    OrderGame o(c.order);
    o.g.Money = 1000;
    o.Accept(c.accepted);
    EXPECT_EQ(DateToText(o.g.OrderDeadline), c.deadline) << c.name;
    o.StepOn(c.accepted);
    EXPECT_FALSE(o.g.OrderFulfilled || o.g.OrderFailed) << c.name;  // nothing in the shed yet

    for (int crop = 0; crop < 4; ++crop) {
      o.g.ShedStock[crop] = static_cast<int32_t>(o.g.CurrentOrder.Zelenina[crop]);
    }
    const int32_t price = o.g.CurrentOrder.Cena, penalty = o.g.CurrentOrder.Nezplneni;
    o.StepOn(c.stocked);
    EXPECT_TRUE(o.g.OrdersPanelOpen) << c.name;
    if (c.delivered) {
      EXPECT_TRUE(o.g.OrderFulfilled) << c.name;
      EXPECT_EQ(o.g.Money, 1000 + price) << c.name;
      EXPECT_EQ(o.g.OrdersDone, 1) << c.name;
      for (int32_t stock : o.g.ShedStock) EXPECT_EQ(stock, 0) << c.name;  // exactly enough
    } else {
      EXPECT_TRUE(o.g.OrderFailed) << c.name;
      EXPECT_EQ(o.g.Money, 1000 - penalty) << c.name;
      EXPECT_EQ(o.g.OrdersDone, 0) << c.name;
      for (int crop = 0; crop < 4; ++crop) {  // nothing is taken from the shed
        EXPECT_EQ(o.g.ShedStock[crop], static_cast<int32_t>(o.g.CurrentOrder.Zelenina[crop]));
      }
    }
    ExpectTimerRearmed(o.g);
  }
}

TEST(OrderOutcome, IsTakenOnceAndOnlyOkEndsIt) {
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
    EXPECT_TRUE(o.g.OrdersPanelOpen);
    EXPECT_TRUE(o.g.OrderActive);
    EXPECT_TRUE(deliver ? o.g.OrderFulfilled : o.g.OrderFailed);
    for (const TGameDate& day : {TGameDate(1, 5, 2002), TGameDate(1, 8, 2002)}) o.StepOn(day);
    EXPECT_EQ(o.g.Money, money);
    EXPECT_EQ(o.g.ShedStock[0], stock + 10);
    EXPECT_EQ(o.g.OrdersDone, deliver ? 1 : 0);

    o.g.OrdersPanel(kOkX, kOkY, nullptr, true);
    EXPECT_FALSE(o.g.OrderActive || o.g.OrderFulfilled || o.g.OrderFailed || o.g.OrdersPanelOpen);
    ExpectTimerRearmed(o.g);
    o.StepOn({2, 8, 2002});
    EXPECT_EQ(o.g.Money, money);
    EXPECT_EQ(o.g.OrdersDone, deliver ? 1 : 0);
  }
}

TEST(OrderMoney, StaysWithinZeroAndWhatItCanHold) {
  OrderFolder folder("");
  // The money after an order of one kohlrabi, delivered on its deadline day or failed the day
  // after.
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

TEST(OrderPanel, DeclinesByCloseAndDeclinesThePlaceholderByOk) {
  struct Case {
    const char* name;
    int32_t level;
    uint32_t timer;  // 0 when the timer opened the panel
    int x, y;
  };
  const Case cases[] = {
      {"close after the timer", 1, 0, kCloseX, kCloseY},
      {"close after the digit key 6", 1, 300, kCloseX, kCloseY},
      {"OK on the placeholder", 2, 0, kOkX, kOkY},
  };
  for (const Case& c : cases) {
    OrderFolder folder(kOrders);
    OrderGame o;
    o.g.LevelNumber = c.level;
    o.g.OrderOfferTimer = c.timer;
    o.g.Money = 100;
    o.g.OrdersPanel(0, 0, nullptr, false);  // the offer is drawn
    o.g.OrdersPanel(c.x, c.y, nullptr, true);
    EXPECT_FALSE(o.g.OrdersPanelOpen) << c.name;
    EXPECT_FALSE(o.g.OrderActive) << c.name;
    EXPECT_TRUE(o.g.PickNewOrder) << c.name;
    if (c.timer == 0) {
      ExpectTimerRearmed(o.g);
    } else {
      EXPECT_EQ(o.g.OrderOfferTimer, c.timer) << c.name;
    }
    o.StepOn({2, 1, 2002});
    EXPECT_EQ(o.g.OrdersDone, 0) << c.name;
    EXPECT_EQ(o.g.Money, 100) << c.name;
  }
}

TEST(OrderPanel, AcceptsTheOfferItShowsAndIgnoresClicksOffItsButtons) {
  OrderFolder folder(kOrders);
  OrderGame o(3);
  o.g.OrdersPanel(kOkX - 9, kOkY, nullptr, true);         // just left of OK
  o.g.OrdersPanel(kCloseX + 12, kCloseY, nullptr, true);  // just right of close
  EXPECT_TRUE(o.g.OrdersPanelOpen);
  EXPECT_FALSE(o.g.OrderActive);
  o.Accept({15, 12, 2002});
  EXPECT_EQ(o.g.CurrentOrder.Cena, 500);
  EXPECT_EQ(Cp1250ToUtf8(o.g.CurrentOrder.Text), "Česnek.");
  EXPECT_EQ(DateToText(o.g.OrderDeadline), "15.3.2003");
  EXPECT_EQ(o.g.OrderIndex, 3);
}

TEST(OrderPanel, TakesNoClicksOutsideTheGameView) {
  OrderFolder folder(kOrders);
  for (int screen = 0; screen < 3; ++screen) {
    OrderGame o(0);
    if (screen == 0) o.g.InGame = false;      // the main menu
    if (screen == 1) o.g.OptionsOpen = true;  // options opened from the game
    if (screen == 2) o.g.LevelStatsOpen = true;
    o.g.OrdersPanel(kOkX, kOkY, nullptr, true);
    EXPECT_FALSE(o.g.OrderActive) << screen;
    EXPECT_TRUE(o.g.OrdersPanelOpen) << screen;
  }
}

TEST(OrderSample, WritesOrderZeroOfTheLevelAndKeepsTheOthers) {
  OrderFolder folder(kOrders);
  TGame g;
  g.WriteSampleOrder(1);
  g.ReadOrder(1, 0);
  EXPECT_TRUE(Cp1250ToUtf8(OfferedOrder.Text).starts_with("Soukromý podnikatel z Ostravy"));
  EXPECT_EQ(OfferedOrder.Cena, 1300);
  EXPECT_EQ(OfferedOrder.Mesice, 12);
  EXPECT_EQ(OfferedOrder.Zelenina[0], 50u);
  EXPECT_EQ(OfferedOrder.Zelenina[2], 40u);
  g.ReadOrder(1, 1);
  EXPECT_EQ(Cp1250ToUtf8(OfferedOrder.Text), "Pět mrkví do konce měsíce.");
}

}  // namespace
