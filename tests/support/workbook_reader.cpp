#include "support/workbook_reader.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace tarn::testing {

namespace {

std::string Decode(std::string text) {
  static const std::pair<const char*, const char*> kEntities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
  for (auto [entity, plain] : kEntities)
    for (std::size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1))
      text.replace(at, std::string(entity).size(), plain);
  return text;
}

// The text between open (an element's start, "<t") and the next close tag, from
// from on; pos ends after the close tag. False when there is none.
bool NextElement(const std::string& xml, const std::string& open, const std::string& close, std::size_t& pos,
                 std::string& attributes, std::string& body) {
  auto endsName = [&](std::size_t at) {
    const char next = at + open.size() < xml.size() ? xml[at + open.size()] : '\0';
    return next == ' ' || next == '>' || next == '/';
  };
  std::size_t start = xml.find(open, pos);
  while (start != std::string::npos && !endsName(start)) start = xml.find(open, start + 1);
  if (start == std::string::npos) return false;
  std::size_t tagEnd = xml.find('>', start);
  if (tagEnd == std::string::npos) return false;
  attributes = xml.substr(start + open.size(), tagEnd - start - open.size());
  if (xml[tagEnd - 1] == '/') {  // <c .../>
    body.clear();
    pos = tagEnd + 1;
    return true;
  }
  std::size_t end = xml.find(close, tagEnd);
  if (end == std::string::npos) return false;
  body = xml.substr(tagEnd + 1, end - tagEnd - 1);
  pos = end + close.size();
  return true;
}

std::string Attribute(const std::string& attributes, const std::string& name) {
  std::size_t at = attributes.find(" " + name + "=\"");
  if (at == std::string::npos) return {};
  at += name.size() + 3;
  return attributes.substr(at, attributes.find('"', at) - at);
}

// "AB12" -> row 11, column 27.
std::pair<int, int> CellPosition(const std::string& ref) {
  int col = 0;
  std::size_t i = 0;
  for (; i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z'; ++i) col = col * 26 + (ref[i] - 'A' + 1);
  return {std::atoi(ref.c_str() + i) - 1, col - 1};
}

std::vector<std::string> SharedStrings(const std::string& xml) {
  std::vector<std::string> strings;
  std::string attributes, item, part;
  for (std::size_t pos = 0; NextElement(xml, "<si", "</si>", pos, attributes, item);) {
    std::string text;
    for (std::size_t at = 0; NextElement(item, "<t", "</t>", at, attributes, part);) text += Decode(part);
    strings.push_back(text);
  }
  return strings;
}

WorkbookSheet ReadSheet(const std::string& name, const std::string& xml, const std::vector<std::string>& strings,
                        std::string& problem) {
  WorkbookSheet sheet;
  sheet.name = name;
  std::string attributes, body, valueAttributes, value;
  for (std::size_t pos = 0; NextElement(xml, "<c", "</c>", pos, attributes, body);) {
    WorkbookCell cell;
    std::size_t at = 0;
    const bool hasValue = NextElement(body, "<v", "</v>", at, valueAttributes, value);
    const std::string type = Attribute(attributes, "t");
    if (type == "s" && hasValue) {
      std::size_t index = std::strtoul(value.c_str(), nullptr, 10);
      if (index >= strings.size()) problem = name + ": a shared string beyond the table";
      cell.text = index < strings.size() ? strings[index] : std::string();
    } else if (type.empty() && hasValue) {
      // As a spreadsheet reads it: "." whatever the locale of the test.
      cell.isNumber = true;
      cell.numberText = value;
      const char* end = value.data() + value.size();
      auto [stop, ec] = std::from_chars(value.data(), end, cell.number);
      if (ec != std::errc() || stop != end) problem = name + ": '" + value + "' is no number";
    } else if (!type.empty()) {
      problem = name + ": a cell of type " + type;
    }
    const std::pair<int, int> place = CellPosition(Attribute(attributes, "r"));
    sheet.cells[place] = cell;
    sheet.rows = std::max(sheet.rows, place.first + 1);
    sheet.cols = std::max(sheet.cols, place.second + 1);
  }
  return sheet;
}

}  // namespace

const WorkbookCell& WorkbookSheet::At(int row, int col) const {
  static const WorkbookCell kEmpty;
  auto it = cells.find({row, col});
  return it == cells.end() ? kEmpty : it->second;
}

const WorkbookSheet& Workbook::Sheet(const std::string& name) const {
  for (const WorkbookSheet& sheet : sheets)
    if (sheet.name == name) return sheet;
  throw std::runtime_error("no sheet " + name);
}

std::vector<std::string> Workbook::Names() const {
  std::vector<std::string> names;
  for (const WorkbookSheet& sheet : sheets) names.push_back(sheet.name);
  return names;
}

std::string UnzipMember(const std::string& zipPath, const std::string& member) {
  const std::string command = "unzip -p '" + zipPath + "' '" + member + "' 2>/dev/null";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return {};
  std::string out;
  char buf[65536];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) out.append(buf, n);
  ::pclose(pipe);
  return out;
}

Workbook ReadWorkbook(const std::string& path) {
  Workbook book;
  if (std::system(("unzip -tq '" + path + "' >/dev/null 2>&1").c_str()) != 0) {
    book.problem = path + " is no whole zip file";
    return book;
  }
  const std::vector<std::string> strings = SharedStrings(UnzipMember(path, "xl/sharedStrings.xml"));
  const std::string workbook = UnzipMember(path, "xl/workbook.xml");
  std::string attributes, body;
  int number = 0;
  for (std::size_t pos = 0; NextElement(workbook, "<sheet", "</sheet>", pos, attributes, body);) {
    const std::string xml = UnzipMember(path, "xl/worksheets/sheet" + std::to_string(++number) + ".xml");
    if (xml.empty()) book.problem = "no sheet" + std::to_string(number) + ".xml";
    book.sheets.push_back(ReadSheet(Decode(Attribute(attributes, "name")), xml, strings, book.problem));
  }
  if (book.sheets.empty()) book.problem = path + " holds no sheet";
  return book;
}

}  // namespace tarn::testing
