// The running status log of the main window (txtStatus) as plain text: every line ends in CR LF.
// The window only mirrors it; its length is what the steps compare against their limit.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orr::workflow {

class StatusLog {
  public:
    // Appends one line and its CR LF.
    void append(std::string_view line);
    // Replaces the whole text (nothing is added).
    void set(std::string_view text);
    const std::string& text() const { return text_; }
    std::size_t length() const { return text_.size(); }

    // The text as a text widget shows it: CR LF (and lone CR) become LF.
    static std::string forDisplay(std::string_view text);

  private:
    std::string text_;
};

}  // namespace orr::workflow
