// ERegExpParser: the error of a faulty pattern, with the message the user sees and the 1-based
// byte position in the pattern at which the scanner stood when the fault was found.
#pragma once

#include <stdexcept>
#include <string>

namespace search {

class ERegExpParser : public std::runtime_error {
 public:
  ERegExpParser(const std::string& message, int position)
      : std::runtime_error(message), position_(position) {}
  int Position() const { return position_; }

 private:
  int position_;
};

// The messages, in UTF-8 as the user reads them.
namespace regexp_message {
inline constexpr const char* kBadDoubleByte = "不正な２バイト文字コードです。";
inline constexpr const char* kNothingAfterBackslash = "\"\\\"の次には文字が必要です。";
inline constexpr const char* kBadHex = "不正な１６進数コード表記です。";
inline constexpr const char* kBadOctal = "不正な８進数コード表記です。";
inline constexpr const char* kNeedRightBracket = "右ブラケット\"]\"が必要です";
inline constexpr const char* kBadRange = "不正なキャラクタ範囲です";
inline constexpr const char* kBadClass = "不正なキャラクタクラス指定です。";
inline constexpr const char* kNeedRightParen = "右(閉じ)括弧が必要です";
inline constexpr const char* kNeedCharOrParen = "普通の文字、または左括弧\"(\"が必要です";
inline constexpr const char* kExtraChars = "正規表現に余分な文字があります";
// Bounds that keep a pathological pattern from exhausting memory or the stack.
inline constexpr const char* kTooComplex =
    "正規表現が複雑すぎます。もっと簡単なパターンにしてください。";
inline constexpr const char* kTooDeep = "括弧の入れ子が深すぎます。";
}  // namespace regexp_message

}  // namespace search
