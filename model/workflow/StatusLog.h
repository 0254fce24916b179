// The running status log of the main window (txtStatus) as plain text: every line ends in CR LF.
// The window only mirrors it. A log that has grown past 64000 characters is cleared before the
// next line is added, so that a long step keeps only its latest lines.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orr::workflow {

class StatusLog {
  public:
    // The length past which the log is cleared before a line is added.
    static constexpr std::size_t kClearAbove = 64000;

    // Appends one line and its CR LF, clearing the log first when it is longer than
    // kClearAbove. True when it was cleared.
    bool append(std::string_view line);
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
