#include "options/display_items.h"

namespace options {

using namespace settings::keys;

std::span<const DisplayItem> DisplayItems() {
  static const DisplayItem kItems[] = {
      {"カーソルの色", "ｶｰｿﾙ色", &CursorColor, kNoColourLabel, nullptr, nullptr, ""},
      {"各曜日枠", "曜日枠色", &FixedGridColor, kNoColourLabel, nullptr, &DaysFont, "1 火 (大安)"},
      {"画面背景色", "上部色", &TaitolTopColor, "下部色", &TaitolLastColor, nullptr, ""},
      {"今日の表示", "表示色", &TodayColor, kNoColourLabel, nullptr, nullptr, ""},
      {"ツールバー色", "上部色", &TollbarTopColor, "下部色", &TollbarLastColor, nullptr, ""},
      {"予定タイトル", "表示色", &TaitolFontColor, kNoColourLabel, nullptr, &TaitolFont, "", true},
      {"予定表枠内", "表示色", &GridColor, kNoColourLabel, nullptr, &YoteiFont, "本日は、晴天なり"},
      {"入力ダイアログ日付色", "今　日", &InputTitleToday, "他の日", &InputTitleOther,
       &InputTaitolFont, "1999年 １月 １日の行動"},
      {"カレンダー", kNoColourLabel, nullptr, kNoColourLabel, nullptr, &CalendarFont,
       "日 月 火 水 木 金 土"},
      {"ステータスバー（スクロール文字）", "ｽﾃｰﾀｽﾊﾞｰ色", &MarqueeLabelColor, "文字色",
       &MarqueeWordColor, &MarqueeLabelFont, "流れ文字を表示します"},
  };
  return kItems;
}

}  // namespace options
