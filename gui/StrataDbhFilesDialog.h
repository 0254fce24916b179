// Step 4: select, create or edit (in another program or in the grid editor) the strata file
// (plot ranges of the strata) and the DBH file (DBH range of every species-product class).
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <filesystem>

#include "core/Step.h"

class QLineEdit;

namespace orr::gui {

class MainView;

class StrataDbhFilesDialog : public QDialog {
    Q_OBJECT
  public:
    explicit StrataDbhFilesDialog(MainView& view, QWidget* parent = nullptr);

  private:
    // Browse for one of the two files; a cancelled file dialog changes nothing.
    void browse(ChosenInput input, QLineEdit* box, const QString& caption);
    // Create: asks for the data-set name first when there is none; false when still none.
    bool haveDataSetName();
    // Edit File (the platform's program, else the grid editor) or Edit in Grid (`here`).
    void edit(const std::filesystem::path& name, QLineEdit* box, const QString& missing,
              const QStringList& headings, bool here);
    void onCreateStrataFile();
    void onCreateDbhFile();
    // The optional stratum areas: a new file holds a record for every stratum of the strata
    // file with its acres still to be entered in the grid editor; Clear leaves no areas chosen.
    void onCreateAreasFile();
    void onClearAreas();
    // False (after a message naming the file, record and field) when the chosen areas file would
    // be refused by step 9.
    bool areasAccepted();
    void onOk();

    MainView& view_;
    QLineEdit* strataBox_;
    QLineEdit* dbhBox_;
    QLineEdit* areasBox_;
};

}  // namespace orr::gui
