#include "gui/RememberedState.h"

#include <QSettings>
#include <QString>
#include <system_error>

#include "gui/GuiText.h"
#include "model/session/Session.h"

namespace orr::gui {

namespace {

const QString kLastAppDir = QStringLiteral("lastApplicationDirectory");
const QString kGeometry = QStringLiteral("mainWindow/geometry");
const QString kRecent = QStringLiteral("recentDataSets");

// The keys of a remembered data set and the member each one fills.
struct Key {
    const char* name;
    std::filesystem::path RecentDataSet::*path;
};
constexpr Key kPaths[] = {
    {"applicationDirectory", &RecentDataSet::appDir},
    {"coefficientFile", &RecentDataSet::coefficientFile},
    {"strataFile", &RecentDataSet::strataFile},
    {"dbhFile", &RecentDataSet::dbhFile},
    {"treeFile", &RecentDataSet::treeFile},
    {"lidarHighFile", &RecentDataSet::lidarHighFile},
    {"lidarLowFile", &RecentDataSet::lidarLowFile},
    {"areasFile", &RecentDataSet::areasFile},
};

}  // namespace

RecentDataSet recentDataSetOf(const Session& s) {
    return {s.appDir,           s.dataSetName,     s.inputs.coefficients,
            s.inputs.strata,    s.inputs.dbh,      s.inputs.trees,
            s.inputs.lidarHigh, s.inputs.lidarLow, s.inputs.areas};
}

std::optional<std::filesystem::path> RememberedState::lastAppDir() const {
    const QString dir = settings_.value(kLastAppDir).toString();
    std::error_code ec;
    if (dir.isEmpty() || !std::filesystem::is_directory(fspath(dir), ec)) return std::nullopt;
    return fspath(dir);
}

void RememberedState::setLastAppDir(const std::filesystem::path& dir) {
    settings_.setValue(kLastAppDir, qpath(dir));
}

QByteArray RememberedState::windowGeometry() const {
    return settings_.value(kGeometry).toByteArray();
}

void RememberedState::setWindowGeometry(const QByteArray& geometry) {
    settings_.setValue(kGeometry, geometry);
}

std::vector<RecentDataSet> RememberedState::recentDataSets() const {
    std::vector<RecentDataSet> out;
    const int count = settings_.beginReadArray(kRecent);
    for (int i = 0; i < count; ++i) {
        settings_.setArrayIndex(i);
        RecentDataSet d;
        d.name = utf8(settings_.value(QStringLiteral("name")).toString());
        for (const Key& k : kPaths)
            d.*k.path = fspath(settings_.value(QLatin1String(k.name)).toString());
        if (!d.name.empty()) out.push_back(std::move(d));
    }
    settings_.endArray();
    return out;
}

void RememberedState::addRecentDataSet(const RecentDataSet& dataSet) {
    std::vector<RecentDataSet> list = recentDataSets();
    std::erase_if(list, [&](const RecentDataSet& d) {
        return d.appDir == dataSet.appDir && d.name == dataSet.name;
    });
    list.insert(list.begin(), dataSet);
    if (list.size() > kRecentDataSets) list.resize(kRecentDataSets);
    settings_.remove(kRecent);
    settings_.beginWriteArray(kRecent, static_cast<int>(list.size()));
    for (int i = 0; i < static_cast<int>(list.size()); ++i) {
        settings_.setArrayIndex(i);
        const RecentDataSet& d = list[static_cast<std::size_t>(i)];
        settings_.setValue(QStringLiteral("name"), qstr(d.name));
        for (const Key& k : kPaths) settings_.setValue(QLatin1String(k.name), qpath(d.*k.path));
    }
    settings_.endArray();
}

}  // namespace orr::gui
