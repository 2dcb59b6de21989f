#include "search/tre_pre_processor.h"

#include <algorithm>

#include "daydata/light_strings.h"
#include "platform/cp932.h"
#include "search/tre_scanner.h"

namespace search {

namespace {

// The groups in the order they are tried: Latin letters, digits, punctuation, ん, the voiced and
// semi-voiced kana (before the plain ones, so that か゛ is taken before か), the plain kana, and
// the two sound marks. The comma-text rules cannot carry an ASCII double quote, so the double
// quote's group holds only ” (the quoted empty item after it is dropped as empty).
const char* const kFuzzyTexts[] = {
    "Ａ,ａ,A,a",
    "Ｂ,ｂ,B,b",
    "Ｃ,ｃ,C,c",
    "Ｄ,ｄ,D,d",
    "Ｅ,ｅ,E,e",
    "Ｆ,ｆ,F,f",
    "Ｇ,ｇ,G,g",
    "Ｈ,ｈ,H,h",
    "Ｉ,ｉ,I,i",
    "Ｊ,ｊ,J,j",
    "Ｋ,ｋ,K,k",
    "Ｌ,ｌ,L,l",
    "Ｍ,ｍ,M,m",
    "Ｎ,ｎ,N,n",
    "Ｏ,ｏ,O,o",
    "Ｐ,ｐ,P,p",
    "Ｑ,ｑ,Q,q",
    "Ｒ,ｒ,R,r",
    "Ｓ,ｓ,S,s",
    "Ｔ,ｔ,T,t",
    "Ｕ,ｕ,U,u",
    "Ｖ,ｖ,V,v",
    "Ｗ,ｗ,W,w",
    "Ｘ,ｘ,X,x",
    "Ｙ,ｙ,Y,y",
    "Ｚ,ｚ,Z,z",
    "0,０,〇",
    "1,１,一,①,Ⅰ,壱",
    "2,２,二,②,Ⅱ,弐",
    "3,３,三,③,Ⅲ,参",
    "4,４,四,④,Ⅳ",
    "5,５,五,⑤,Ⅴ,伍",
    "6,６,六,⑥,Ⅵ",
    "7,７,七,⑦,Ⅶ",
    "8,８,八,⑧,Ⅷ",
    "9,９,九,⑨,Ⅸ",
    "!,！",
    "#,＃",
    "$,＄",
    "%,％",
    "&,＆",
    "(,（",
    "),）",
    "*,＊",
    "+,＋",
    "/,／",
    ":,：",
    ";,；",
    "<,＜",
    "=,＝",
    ">,＞",
    "?,？",
    "@,＠",
    "^,＾",
    "_,＿",
    "{,｛",
    "|,｜",
    "},｝",
    "\" \",　",
    "”,\"",
    "',’",
    "ー,～,ｰ",
    "-,ー,－,～,ｰ",
    "･,・",
    "[,［,〔",
    "],］,〕",
    "\\,￥",
    "~,￣",
    "\",\",､,、,，",
    "｡,.,。,．",
    "「,『,｢",
    "」,』,｣",
    "ん,ン,ﾝ",
    "が,ガ,ｶﾞ,か゛,カ゛",
    "ぎ,ギ,ｷﾞ,き゛,キ゛",
    "ぐ,グ,ｸﾞ,く゛,ク゛",
    "げ,ゲ,ｹﾞ,け゛,ケ゛",
    "ご,ゴ,ｺﾞ,こ゛,コ゛",
    "ざ,ザ,ｻﾞ,さ゛,サ゛",
    "じ,ジ,ｼﾞ,し゛,シ゛,ぢ,ヂ,ﾁﾞ,ち゛,チ゛",
    "ず,ズ,ｽﾞ,す゛,ス゛,づ,ヅ,ﾂﾞ,つ゛,ツ゛",
    "ぜ,ゼ,ｾﾞ,せ゛,セ゛",
    "ぞ,ゾ,ｿﾞ,そ゛,ソ゛",
    "だ,ダ,ﾀﾞ,た゛,タ゛",
    "で,デ,ﾃﾞ,て゛,テ゛",
    "ど,ド,ﾄﾞ,と゛,ト゛",
    "ば,バ,ﾊﾞ,は゛,ハ゛,ヴァ,ｳﾞｧ",
    "び,ビ,ﾋﾞ,ひ゛,ヒ゛,ヴィ,ｳﾞｨ",
    "ぶ,ブ,ﾌﾞ,ふ゛,フ゛,ヴ,ｳﾞ,う゛,ウ゛",
    "べ,ベ,ﾍﾞ,へ゛,ヘ゛,ヴェ,ｳﾞｪ",
    "ぼ,ボ,ﾎﾞ,ほ゛,ホ゛,ヴォ,ｳﾞｫ",
    "ぱ,パ,ﾊﾟ,は゜,ハ゜",
    "ぴ,ピ,ﾋﾟ,ひ゜,ヒ゜",
    "ぷ,プ,ﾌﾟ,ふ゜,フ゜",
    "ぺ,ペ,ﾍﾟ,へ゜,ヘ゜",
    "ぽ,ポ,ﾎﾟ,ほ゜,ホ゜",
    "あ,ア,ｱ,ぁ,ァ,ｧ",
    "い,イ,ｲ,ぃ,ィ,ｨ",
    "う,ウ,ｳ,ぅ,ゥ,ｩ",
    "え,エ,ｴ,ぇ,ェ,ｪ",
    "お,オ,ｵ,ぉ,ォ,ｫ",
    "か,カ,ｶ,ヵ",
    "き,キ,ｷ",
    "く,ク,ｸ",
    "け,ケ,ｹ,ヶ",
    "こ,コ,ｺ",
    "さ,サ,ｻ",
    "し,シ,ｼ",
    "す,ス,ｽ",
    "せ,セ,ｾ",
    "そ,ソ,ｿ",
    "た,タ,ﾀ",
    "ち,チ,ﾁ",
    "つ,ツ,ﾂ,っ,ッ,ｯ",
    "て,テ,ﾃ",
    "と,ト,ﾄ",
    "な,ナ,ﾅ",
    "に,ニ,ﾆ",
    "ぬ,ヌ,ﾇ",
    "ね,ネ,ﾈ",
    "の,ノ,ﾉ",
    "は,ハ,ﾊ",
    "ひ,ヒ,ﾋ",
    "ふ,フ,ﾌ",
    "へ,ヘ,ﾍ",
    "ほ,ホ,ﾎ",
    "ま,マ,ﾏ",
    "み,ミ,ﾐ",
    "む,ム,ﾑ",
    "め,メ,ﾒ",
    "も,モ,ﾓ",
    "や,ヤ,ﾔ,ゃ,ャ,ｬ",
    "ゆ,ユ,ﾕ,ゅ,ュ,ｭ",
    "よ,ヨ,ﾖ,ょ,ョ,ｮ",
    "ら,ラ,ﾗ",
    "り,リ,ﾘ",
    "る,ル,ﾙ",
    "れ,レ,ﾚ",
    "ろ,ロ,ﾛ",
    "わ,ワ,ﾜ,ゎ,ヮ,うぁ,ウァ,ｳｧ",
    "ゐ,ヰ,うぃ,ウィ,ｳｨ",
    "ゑ,ヱ,うぇ,ウェ,ｳｪ",
    "を,ヲ,ｦ,うぉ,ウォ,ｳｫ",
    "ﾞ,゛",
    "ﾟ,゜",
};

// The code of the character at variant[i], which takes one or two bytes; `i` moves to its last
// byte. A lead byte at the very end stands alone.
RECode CodeAt(std::string_view variant, size_t& i) {
  auto c = static_cast<unsigned char>(variant[i]);
  if (cp932::IsLeadByte(c) && i + 1 < variant.size()) {
    ++i;
    return static_cast<RECode>(c << 8 | static_cast<unsigned char>(variant[i]));
  }
  return c;
}

// True when the characters of `variant` are the codes of tokens[first, first + count) and no
// more; `count` is set to the number of characters. Read straight from the bytes, so that a
// search with the dictionary on allocates nothing per variant tried.
template <typename Tokens>
bool VariantAt(std::string_view variant, const Tokens& tokens, size_t first, size_t end,
               size_t& count) {
  count = 0;
  for (size_t i = 0; i < variant.size(); ++i) {
    RECode code = CodeAt(variant, i);
    if (first + count >= end || tokens[first + count].token.code != code) return false;
    ++count;
  }
  return count > 0;
}

// A variant as pattern text: each metacharacter behind a backslash. Characters are taken whole,
// so a trail byte that happens to be "\" (as in ソ) is left alone.
std::string Escaped(std::string_view variant) {
  std::string out;
  for (size_t i = 0; i < variant.size(); ++i) {
    auto c = static_cast<unsigned char>(variant[i]);
    if (cp932::IsLeadByte(c) && i + 1 < variant.size()) {
      out += variant.substr(i, 2);
      ++i;
      continue;
    }
    if (std::string_view("^(|)+*?.[]$\\").find(static_cast<char>(c)) != std::string_view::npos) {
      out += '\\';
    }
    out += static_cast<char>(c);
  }
  return out;
}

struct ScannedToken {
  REToken token;
  size_t begin, end;  // source bytes
  bool in_class;
};

}  // namespace

REDictionary::REDictionary(std::vector<REDictionaryGroup> groups) {
  auto data = std::make_shared<Data>();
  data->groups = std::move(groups);
  for (size_t g = 0; g < data->groups.size(); ++g) {
    const REDictionaryGroup& group = data->groups[g];
    for (size_t v = 0; v < group.size(); ++v) {
      if (group[v].empty()) continue;
      size_t i = 0;
      data->starts.push_back(
          {CodeAt(group[v], i), static_cast<std::uint32_t>(g), static_cast<std::uint32_t>(v)});
    }
  }
  // Stable, so that the variants of one first character stay in dictionary order.
  std::stable_sort(data->starts.begin(), data->starts.end(),
                   [](const Start& a, const Start& b) { return a.first < b.first; });
  data_ = std::move(data);
}

std::span<const REDictionary::Start> REDictionary::StartingWith(RECode code) const {
  const std::vector<Start>& starts = data_->starts;
  auto from = std::lower_bound(starts.begin(), starts.end(), code,
                               [](const Start& s, RECode c) { return s.first < c; });
  auto to = from;
  while (to != starts.end() && to->first == code) ++to;
  return {from, to};
}

std::string TREPreProcessor::Process(const std::string& pattern) const {
  std::string text = pattern;
  if (UseSynonymDic) text = Expand(text, SynonymDics);
  if (UseFuzzyCharDic) text = Expand(text, FuzzyCharDics);
  return text;
}

std::string TREPreProcessor::Expand(const std::string& pattern,
                                    const std::vector<REDictionary>& dics) {
  TREScanner scanner(pattern);
  std::vector<ScannedToken> tokens;
  for (;;) {
    bool in_class = scanner.InClass();
    size_t begin = static_cast<size_t>(scanner.Position() - 1);
    REToken token = scanner.GetToken();
    if (token.kind == RETokenKind::kEnd) break;
    bool class_token = in_class || token.kind == RETokenKind::kClassStart ||
                       token.kind == RETokenKind::kNegClassStart;
    tokens.push_back({token, begin, static_cast<size_t>(scanner.Position() - 1), class_token});
  }
  auto plain = [&](size_t i) {
    return !tokens[i].in_class && tokens[i].token.kind == RETokenKind::kChar;
  };
  std::string out;
  size_t i = 0;
  while (i < tokens.size()) {
    if (!plain(i)) {
      out.append(pattern, tokens[i].begin, tokens[i].end - tokens[i].begin);
      ++i;
      continue;
    }
    size_t run_end = i;
    while (run_end < tokens.size() && plain(run_end)) ++run_end;
    // The first group of the first dictionary with a variant here, and its first such variant:
    // only variants that begin with this character can be here.
    size_t matched = 0;
    const REDictionaryGroup* group = nullptr;
    for (size_t d = 0; d < dics.size() && !group; ++d) {
      for (const REDictionary::Start& start : dics[d].StartingWith(tokens[i].token.code)) {
        size_t count = 0;
        if (VariantAt(dics[d][start.group][start.variant], tokens, i, run_end, count)) {
          matched = count;
          group = &dics[d][start.group];
          break;
        }
      }
    }
    if (!group) {
      out.append(pattern, tokens[i].begin, tokens[i].end - tokens[i].begin);
      ++i;
      continue;
    }
    out += '(';
    for (size_t v = 0; v < group->size(); ++v) {
      if (v > 0) out += '|';
      out += Escaped((*group)[v]);
    }
    out += ')';
    i += matched;
  }
  return out;
}

REDictionary TREPreProcessor::ReadDictionary(const std::vector<std::string>& comma_texts) {
  std::vector<REDictionaryGroup> groups;
  for (const std::string& text : comma_texts) {
    daydata::TLightStrings items;
    items.SetCommaText(text);
    REDictionaryGroup group;
    for (std::int32_t i = 0; i < items.Count(); ++i) {
      if (!items[i].empty()) group.push_back(items[i]);
    }
    groups.push_back(std::move(group));
  }
  return REDictionary(std::move(groups));
}

const std::vector<std::string>& TREPreProcessor::BuiltInFuzzyCharTexts() {
  static const std::vector<std::string> texts = [] {
    std::vector<std::string> list;
    for (const char* text : kFuzzyTexts) list.push_back(cp932::FromUtf8(text));
    return list;
  }();
  return texts;
}

const REDictionary& TREPreProcessor::BuiltInFuzzyCharDic() {
  static const REDictionary dictionary = ReadDictionary(BuiltInFuzzyCharTexts());
  return dictionary;
}

}  // namespace search
