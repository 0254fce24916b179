// What the desktop program remembers between runs, in QSettings: the application directory last
// used, the main window's size and place, and the data sets used most recently (their names and
// chosen files, per application directory). main() names the organisation and the application
// once; tests give their own settings file, so that they never touch the user's.
#pragma once

#include <QByteArray>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class QSettings;

namespace orr {
struct Session;
}

namespace orr::gui {

struct RecentDataSet {
    std::filesystem::path appDir;
    std::string name;
    std::filesystem::path coefficientFile;
    std::filesystem::path strataFile;
    std::filesystem::path dbhFile;
    std::filesystem::path treeFile;       // may be empty
    std::filesystem::path lidarHighFile;  // may be empty
    std::filesystem::path lidarLowFile;   // may be empty
    std::filesystem::path areasFile;      // may be empty
    bool operator==(const RecentDataSet&) const = default;
};

// The data set of the session as it would be remembered.
RecentDataSet recentDataSetOf(const Session& session);

class RememberedState {
  public:
    // The list keeps this many data sets, the most recent first.
    static constexpr int kRecentDataSets = 8;

    explicit RememberedState(QSettings& settings) : settings_(settings) {}

    // The application directory used last, when it still exists.
    std::optional<std::filesystem::path> lastAppDir() const;
    void setLastAppDir(const std::filesystem::path& dir);

    QByteArray windowGeometry() const;
    void setWindowGeometry(const QByteArray& geometry);

    // The data sets of every application directory, the most recent first.
    std::vector<RecentDataSet> recentDataSets() const;
    // Puts the data set first; an earlier entry of the same directory and name goes.
    void addRecentDataSet(const RecentDataSet& dataSet);

  private:
    QSettings& settings_;
};

}  // namespace orr::gui
