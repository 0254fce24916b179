// Writer of one comma-style record: fields joined by commas, no blanks, CR LF at the end.
#pragma once

#include <string>
#include <string_view>

namespace orr {

class RecordLine {
  public:
    RecordLine& number(double x);                 // shortest text, "0.5" with its leading zero
    RecordLine& rounded(double x, int decimals);  // half to even, then shortest text
    RecordLine& integer(long long x);
    RecordLine& quoted(std::string_view text);  // "text"
    // A cell of user text (a file name, a warning, a data-set name), quoted, that a spreadsheet
    // never takes for a formula: see formulaSafe().
    RecordLine& userText(std::string_view text);
    RecordLine& raw(std::string_view text);  // as it stands
    // The record with CR LF appended.
    std::string line() const { return text_ + "\r\n"; }
    // Appends the record and CR LF to `out` (a string or an output file).
    template <class Sink>
    void appendTo(Sink& out) const {
        out.append(text_);
        out.append("\r\n");
    }

  private:
    void separate();
    std::string text_;
    bool first_ = true;
};

// A text that a spreadsheet would evaluate ("=...", "+...", "-...", "@...", or one starting with a
// tab or CR) gets a leading apostrophe, as does a text that starts with one, so that
// withoutFormulaGuard() gives back exactly the text written. Any other text stays as it is.
std::string formulaSafe(std::string_view text);
// The text of a cell that formulaSafe() wrote.
std::string_view withoutFormulaGuard(std::string_view cell);

}  // namespace orr
