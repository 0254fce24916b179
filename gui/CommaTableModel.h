// An input file in the comma style as a table to edit: one row per line, one column per field.
// A field shows without its quotes and the blanks around it; a line that is not edited is written
// back exactly as it was read, an edited field keeps its quotes when it had them. Saving writes
// the whole file or nothing.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orr::gui {

class CommaTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // `headings`: names of the first columns (further columns are "Field 9", ...).
    explicit CommaTableModel(QStringList headings, QObject* parent = nullptr);

    // What a line's row heading says beside its line number, from the position in the file of
    // the line's first field (0-based, counted over all the lines before); empty: the number only.
    using RowLabels = std::function<QString(long firstField)>;
    void setRowLabels(RowLabels labels, std::function<QString(long firstField)> toolTips = {});

    // Reads the file; the message (naming the file and the reason) when it cannot be read.
    std::optional<QString> load(const std::filesystem::path& file);
    // Writes every line back, all or nothing; the message (naming the file, and the line and
    // field of a value that cannot be written) when nothing was written.
    std::optional<QString> save(const std::filesystem::path& file);
    bool modified() const { return modified_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    struct Field {
        std::string raw;  // as read, blanks and quotes included
        QString shown;    // without blanks and quotes
        bool quoted = false;
        bool edited = false;
    };
    struct Line {
        std::string raw;  // as read, without its line end
        std::vector<Field> fields;
        bool edited = false;
    };
    static Line split(std::string raw);
    // The position in the file of the first field of each line.
    void countFields();

    QStringList headings_;
    std::vector<Line> lines_;
    int columns_ = 0;
    bool modified_ = false;
    RowLabels rowLabels_;
    std::function<QString(long)> rowToolTips_;
    std::vector<long> firstFields_;
};

}  // namespace orr::gui
