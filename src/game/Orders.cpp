// Customers' orders: reading an order from the order file, the per-frame order step (the offer
// timer, delivery from the shed, the deadline), the orders panel with its four views and its two
// buttons, and the sample order written by the digit key 3.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include "base/Cp1250.h"
#include "base/IniFile.h"
#include "base/Translation.h"
#include "game/DataFiles.h"
#include "game/Game.h"
#include "game/Random.h"
#include "gfx/SpriteRects.h"
#include "gfx/Text.h"

namespace {

namespace orders = sprites::orders;

// The selector that asks ReadOrder for the order to offer rather than a numbered one.
constexpr int32_t kOfferSelector = 1000;
constexpr int32_t kOrdersPerLevel = 4;
constexpr uint32_t kOfferTimerMin = 6000;
constexpr int32_t kOfferTimerEnd = 12000;

constexpr int kTextX = 375;
constexpr int kTextY = 240;
constexpr int kLineStep = 20;
constexpr int kWrapWidth = 32;
constexpr int kTextRight = 656;  // inside the panel (x 362..662)
constexpr int kPaidY = 270;      // the first line of the paid message

constexpr TRect kOkHit{orders::OkAt.X, orders::OkAt.Y, orders::OkAt.X + orders::OkNormal.Width(),
                       orders::OkAt.Y + orders::OkNormal.Height()};
constexpr TRect kCloseHit{orders::CloseAt.X, orders::CloseAt.Y,
                          orders::CloseAt.X + orders::CloseNormal.Width(),
                          orders::CloseAt.Y + orders::CloseNormal.Height()};

bool Inside(int x, int y, const TRect& r) { return InRect(x, y, r.Left, r.Top, r.Right, r.Bottom); }

std::string OrderSection(int32_t level, int32_t number) {
  return "ProLevel" + IntToText(level) + "Objednavka" + IntToText(number);
}

std::string CropKey(int crop) { return "Zelenina[" + std::to_string(crop) + "]"; }

// The request of an order whose section is missing, kept in Czech as a file's text would be, and
// translated where it is shown.
const std::string& PlaceholderText() {
  static const std::string text = Utf8ToCp1250(TrLater("Bohužel žádná objednávka tu nyní není"));
  return text;
}

// Keeps money within what it can hold and never below zero, whatever the order file says.
int32_t ClampMoney(int64_t money) {
  return static_cast<int32_t>(std::clamp<int64_t>(money, 0, std::numeric_limits<int32_t>::max()));
}

// A new wait before the next offer: uniform over 6000 up to, not including, 12000 frames.
void RearmOfferTimer(TGame& game) {
  Randomize();
  game.OrderOfferTimer = 0;
  while (game.OrderOfferTimer < kOfferTimerMin) {
    game.OrderOfferTimer = static_cast<uint32_t>(Random(kOfferTimerEnd));
  }
}

bool ShedHolds(const TGame& game, const uint32_t (&pieces)[4]) {
  for (int crop = 0; crop < 4; ++crop) {
    if (static_cast<uint32_t>(game.ShedStock[crop]) < pieces[crop]) return false;
  }
  return true;
}

// An order exists when its section gives it a text; otherwise the panel offers the placeholder.
bool OrderExists(int32_t level, int32_t number) {
  const TIniFile file(data_files::Orders);
  return !file.ReadString(OrderSection(level, number), "Text", "").empty();
}

// The panel is drawn only in the game view, so it takes clicks only while that view is shown.
bool GameViewShown(const TGame& g) {
  return g.InGame && !g.OptionsOpen && !g.SaveScreenOpen && !g.LoadScreenOpen &&
         !g.LevelIntroOpen && !g.LevelStatsOpen;
}

}  // namespace

void TGame::ReadOrder(int32_t level, int32_t selector) {
  const TIniFile file(data_files::Orders);
  Randomize();
  int32_t number = OrderIndex;
  if (selector != kOfferSelector) {
    number = selector;
  } else if (PickNewOrder) {
    number = Random(kOrdersPerLevel);
    PickNewOrder = false;
  }
  OrderIndex = number;

  const std::string section = OrderSection(level, number);
  OfferedOrder.Text = file.ReadString(section, "Text", PlaceholderText());
  OfferedOrder.Cena = file.ReadInteger(section, "Cena", 0);
  OfferedOrder.Mesice = static_cast<uint16_t>(file.ReadInteger(section, "Mesice", 0));
  OfferedOrder.Nezplneni = file.ReadInteger(section, "Nezplneni", 0);
  for (int crop = 0; crop < 4; ++crop) {
    OfferedOrder.Zelenina[crop] =
        static_cast<uint32_t>(file.ReadInteger(section, CropKey(crop), 0));
  }
}

void TGame::CheckOrder() {
  if (!OrderActive && OrderOfferTimer > 0) {
    if (--OrderOfferTimer == 0) {
      OrdersPanelOpen = true;
      HoverX = -1;
    }
  }
  if (!OrderActive || OrderFulfilled || OrderFailed) return;

  if (ShedHolds(*this, CurrentOrder.Zelenina) && IsOnOrBefore(Date, OrderDeadline)) {
    Money = ClampMoney(int64_t(Money) + CurrentOrder.Cena);
    for (int crop = 0; crop < 4; ++crop) {
      // Counted unsigned like the comparison above, so no stock can overflow here.
      ShedStock[crop] = static_cast<int32_t>(static_cast<uint32_t>(ShedStock[crop]) -
                                             CurrentOrder.Zelenina[crop]);
    }
    OrderFulfilled = true;
    if (OrdersDone < std::numeric_limits<int32_t>::max()) ++OrdersDone;
    OrdersPanelOpen = true;
  } else if (IsAfter(Date, OrderDeadline)) {
    Money = ClampMoney(int64_t(Money) - CurrentOrder.Nezplneni);
    OrderFailed = true;
    OrdersPanelOpen = true;
  } else {
    return;
  }
  RearmOfferTimer(*this);
}

void TGame::OrdersPanel(int x, int y, TSurface** slot, bool click) {
  HoverX = -1;
  if (click) {
    if (!GameViewShown(*this)) return;
    const bool offerView = !OrderActive;
    // Declining costs nothing; an offer that came with the timer brings a new wait.
    auto decline = [this] {
      OrdersPanelOpen = false;
      PickNewOrder = true;
      OrderFailed = OrderFulfilled = false;
      if (OrderOfferTimer == 0) RearmOfferTimer(*this);
    };
    // The close button is drawn in the offer view only, and acts only there: closing an outcome
    // with it would forget the outcome and leave the order running to be paid or fined again.
    if (offerView && Inside(x, y, kCloseHit)) decline();
    if (Inside(x, y, kOkHit)) {
      if (offerView) {
        // Accept what the panel shows. The placeholder of a missing order is declined instead:
        // it asks for nothing, and accepting it would count an order fulfilled for nothing.
        ReadOrder(LevelNumber, kOfferSelector);
        if (OrderExists(LevelNumber, OrderIndex)) {
          OrderDeadline = AddMonths(Date, OfferedOrder.Mesice);
          CurrentOrder = OfferedOrder;
          OrderActive = true;
          OrderFailed = OrderFulfilled = false;
        } else {
          decline();
        }
      } else if (OrderFailed || OrderFulfilled) {
        OrderFailed = OrderFulfilled = false;
        OrderActive = false;
        RearmOfferTimer(*this);
      }
      OrdersPanelOpen = false;
    }
    return;
  }

  Draw(slot, orders::PanelAt.X, orders::PanelAt.Y, orders::Panel, 1);
  auto line = [this](const std::string& text, int y0) {
    DrawTextN(text, kTextX, y0, 0, BackBuffer, FontPanel, static_cast<int>(text.size()));
  };
  if (OrderActive && OrderFulfilled) {
    // TRANSLATORS: the orders panel for an order fulfilled: a one-line title, then this text
    // wrapped at 32 characters a line below it.
    line(Tr("Dobře!"), 240);
    // TRANSLATORS: below "Dobře!" on the orders panel for an order fulfilled, 32 characters a
    // line, 8 lines at most.
    WrapText(Tr("Nyní ti bude zaplacena slíbená částka."), kWrapWidth, kTextRight, kTextX, kPaidY,
             kLineStep, 0, FontPanel);
  } else if (OrderActive && OrderFailed) {
    WrapText(Tr("Protože jsi nesplnil objednávku v daném časovém termínu, tak nedostaneš žádné "
                "peníze a na skladě ti zůstane všechna zelenina."),
             kWrapWidth, kTextRight, kTextX, kTextY, kLineStep, 0, FontPanel);
  } else {
    const bool offer = !OrderActive;
    ReadOrder(LevelNumber, offer ? kOfferSelector : OrderIndex);
    const int last = WrapText(TrText(OfferedOrder.Text), kWrapWidth, kTextRight, kTextX, kTextY,
                              kLineStep, 0, FontPanel);
    const TGameDate deadline = offer ? AddMonths(Date, OfferedOrder.Mesice) : OrderDeadline;
    line(Tr("Datum : ") + DateToText(deadline), 270 + kLineStep * last);
  }

  const bool onOk = Inside(x, y, kOkHit);
  Draw(slot, orders::OkAt.X, orders::OkAt.Y, onOk ? orders::OkHovered : orders::OkNormal, 1);
  if (!OrderActive) {
    const bool onClose = Inside(x, y, kCloseHit);
    Draw(slot, orders::CloseAt.X, orders::CloseAt.Y,
         onClose ? orders::CloseHovered : orders::CloseNormal, 1);
  }
}

void TGame::WriteSampleOrder(int32_t level) {
  TIniFile file(data_files::Orders);
  const std::string section = OrderSection(level, 0);
  file.WriteString(section, "Text",
                   Utf8ToCp1250("Soukromý podnikatel z Ostravy potřebuje, aby jsi mu vypěstoval 40 "
                                "kusů mrkve a 50 kusů květáku. Jako odměnu za spnění ti slíbil "
                                "1300Kč."));
  file.WriteInteger(section, "Cena", 1300);
  file.WriteInteger(section, "Mesice", 12);
  file.WriteInteger(section, "Nezplneni", 0);
  file.WriteInteger(section, "Zelenina[0]", 50);
  file.WriteInteger(section, "Zelenina[1]", 0);
  file.WriteInteger(section, "Zelenina[2]", 40);
  file.WriteInteger(section, "Zelenina[3]", 0);
}
