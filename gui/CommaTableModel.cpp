#include "gui/CommaTableModel.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <system_error>

#include "core/OutputSet.h"
#include "gui/GuiText.h"

namespace orr::gui {

namespace {

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

CommaTableModel::CommaTableModel(QStringList headings, QObject* parent)
    : QAbstractTableModel(parent), headings_(std::move(headings)) {}

CommaTableModel::Line CommaTableModel::split(std::string raw) {
    Line line;
    line.raw = std::move(raw);
    if (trimmed(line.raw).empty()) return line;
    std::size_t start = 0;
    bool inQuotes = false;
    for (std::size_t i = 0; i <= line.raw.size(); ++i) {
        if (i < line.raw.size() && line.raw[i] == '"') inQuotes = !inQuotes;
        if (i < line.raw.size() && (line.raw[i] != ',' || inQuotes)) continue;
        Field f;
        f.raw = line.raw.substr(start, i - start);
        std::string_view text = trimmed(f.raw);
        if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
            f.quoted = true;
            text = text.substr(1, text.size() - 2);
        }
        f.shown = qstr(text);
        line.fields.push_back(std::move(f));
        start = i + 1;
    }
    return line;
}

void CommaTableModel::setRowLabels(RowLabels labels, std::function<QString(long)> toolTips) {
    rowLabels_ = std::move(labels);
    rowToolTips_ = std::move(toolTips);
    if (!lines_.empty()) emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
}

void CommaTableModel::countFields() {
    firstFields_.resize(lines_.size());
    long fields = 0;
    for (std::size_t r = 0; r < lines_.size(); ++r) {
        firstFields_[r] = fields;
        fields += static_cast<long>(lines_[r].fields.size());
    }
}

std::optional<QString> CommaTableModel::load(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        const std::error_code ec(errno, std::generic_category());
        return QStringLiteral("Cannot open ") + qpath(file) + QStringLiteral(": ") +
               qstr(ec.message());
    }
    std::ostringstream content;
    content << in.rdbuf();
    const std::string text = content.str();
    beginResetModel();
    lines_.clear();
    columns_ = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string raw = text.substr(start, end - start);
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        lines_.push_back(split(std::move(raw)));
        columns_ = std::max(columns_, static_cast<int>(lines_.back().fields.size()));
        start = end + 1;
    }
    columns_ = std::max(columns_, static_cast<int>(headings_.size()));
    countFields();
    modified_ = false;
    endResetModel();
    return std::nullopt;
}

std::optional<QString> CommaTableModel::save(const std::filesystem::path& file) {
    std::vector<std::string> written(lines_.size());
    std::string content;
    for (std::size_t r = 0; r < lines_.size(); ++r) {
        const Line& line = lines_[r];
        std::string& raw = written[r];
        if (!line.edited) raw = line.raw;
        for (std::size_t c = 0; line.edited && c < line.fields.size(); ++c) {
            const Field& f = line.fields[c];
            if (c > 0) raw += ',';
            if (!f.edited) {
                raw += f.raw;
                continue;
            }
            const std::string value = utf8(f.shown);
            // The comma style has no way to write these inside a value.
            if (value.find_first_of(",\"\r\n") != std::string::npos)
                return QStringLiteral(
                           "Line %1, %2: \"%3\" cannot hold a comma or a double quote. "
                           "Nothing was written to %4.")
                    .arg(r + 1)
                    .arg(
                        headerData(static_cast<int>(c), Qt::Horizontal, Qt::DisplayRole).toString(),
                        qstr(value), qpath(file));
            raw += f.quoted ? "\"" + value + "\"" : value;
        }
        content += raw;
        content += "\r\n";
    }
    try {
        writeFileAtomically(file, content);
    } catch (const std::exception& e) {
        return qstr(e.what());
    }
    // What is on disk now is what the next save starts from.
    for (std::size_t r = 0; r < lines_.size(); ++r)
        if (lines_[r].edited) lines_[r] = split(std::move(written[r]));
    modified_ = false;
    return std::nullopt;
}

int CommaTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

int CommaTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant CommaTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    const Line& line = lines_[static_cast<std::size_t>(index.row())];
    const auto c = static_cast<std::size_t>(index.column());
    return c < line.fields.size() ? line.fields[c].shown : QString();
}

bool CommaTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    Line& line = lines_[static_cast<std::size_t>(index.row())];
    const auto c = static_cast<std::size_t>(index.column());
    const QString text = value.toString().trimmed();
    if (c < line.fields.size() ? line.fields[c].shown == text : text.isEmpty()) return false;
    const bool longer = line.fields.size() <= c;
    while (line.fields.size() <= c) {
        Field empty;
        empty.edited = true;
        line.fields.push_back(empty);
    }
    if (longer) {
        countFields();
        emit headerDataChanged(Qt::Vertical, index.row(), rowCount() - 1);
    }
    line.fields[c].shown = text;
    line.fields[c].edited = true;
    line.edited = true;
    modified_ = true;
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

QVariant CommaTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical && section >= 0 && section < rowCount() &&
        !lines_[static_cast<std::size_t>(section)].fields.empty()) {
        const long first = firstFields_[static_cast<std::size_t>(section)];
        if (role == Qt::ToolTipRole && rowToolTips_) return rowToolTips_(first);
        if (role == Qt::DisplayRole && rowLabels_) {
            // The line number, as messages give it, then what the line holds.
            const QString label = rowLabels_(first);
            if (!label.isEmpty()) return QStringLiteral("%1  %2").arg(section + 1).arg(label);
        }
    }
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;  // the line number, as messages give it
    if (section < headings_.size()) return headings_[section];
    return QStringLiteral("Field %1").arg(section + 1);
}

Qt::ItemFlags CommaTableModel::flags(const QModelIndex& index) const {
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

}  // namespace orr::gui
