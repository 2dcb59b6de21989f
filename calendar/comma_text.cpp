#include "calendar/comma_text.h"

namespace calendar {
namespace {

bool IsBlank(char c) {
  return c != '\0' && static_cast<unsigned char>(c) <= ' ';
}

}  // namespace

std::vector<std::string> SplitCommaText(std::string_view text) {
  std::vector<std::string> items;
  size_t p = 0;
  const size_t n = text.size();
  auto skip_blanks = [&] {
    while (p < n && IsBlank(text[p])) ++p;
  };
  skip_blanks();
  while (p < n && text[p] != '\0') {
    std::string item;
    if (text[p] == '"') {
      ++p;
      while (p < n) {
        if (text[p] == '"') {
          if (p + 1 < n && text[p + 1] == '"') {
            item += '"';
            p += 2;
            continue;
          }
          ++p;  // the closing quote
          break;
        }
        item += text[p++];
      }
    } else {
      size_t start = p;
      while (p<n&& static_cast<unsigned char>(text[p])> ' ' && text[p] != ',') ++p;
      item.assign(text.substr(start, p - start));
    }
    items.push_back(std::move(item));
    skip_blanks();
    if (p < n && text[p] == ',') {
      if (p + 1 >= n) items.emplace_back();  // a trailing comma ends with an empty item
      do {
        ++p;
      } while (p < n && IsBlank(text[p]));
    }
  }
  return items;
}

std::string JoinCommaText(const std::vector<std::string>& items) {
  if (items.size() == 1 && items[0].empty()) return "\"\"";
  std::string text;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += ',';
    const std::string& s = items[i];
    bool quote = false;
    for (char c : s) {
      if (static_cast<unsigned char>(c) <= ' ' || c == '"' || c == ',') {
        quote = true;
        break;
      }
    }
    if (!quote) {
      text += s;
      continue;
    }
    text += '"';
    for (char c : s) {
      if (c == '"') text += '"';
      text += c;
    }
    text += '"';
  }
  return text;
}

}  // namespace calendar
