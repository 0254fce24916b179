// What a computation step needs from whoever runs it: the status log, the status caption,
// message boxes, the product-code prompt, the pickers, the parameters dialog and progress.
// The desktop program implements it with widgets, the command line with its streams and flags,
// the tests with a scripted fake.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace orr {

struct Session;

enum class Icon { Information, Critical };

struct StepHost {
    virtual void appendLog(std::string_view line) = 0;           // one line; the host adds CR LF
    virtual void setLog(std::string_view text) = 0;              // replace the whole log
    virtual std::size_t logLength() const = 0;                   // characters in the log now
    virtual void setStatus(std::string_view caption) = 0;        // FrameStatus caption
    virtual void message(std::string_view text, Icon icon) = 0;  // modal, OK only
    // The product-code prompt for a tree whose DBH fits no product of its species: the code the
    // user entered, or nullopt to drop the tree.
    virtual std::optional<int> askProductCode(int species, double dbh) = 0;
    virtual void progress(std::size_t done, std::size_t total) = 0;
    // The tree-file picker (frmAssignHgtVol) and the LiDAR-file picker (frmEnterPhase1Height);
    // each sets the session's paths as the dialog does.
    virtual void pickTreeFile(Session& session) = 0;
    virtual void pickLidarFiles(Session& session) = 0;
    // The parameters dialog (frmUserParameters); true when the user saved new parameters.
    virtual bool editParameters(Session& session) = 0;
    virtual ~StepHost() = default;
};

}  // namespace orr
