#pragma once
// The "Edit Memory" window: edits a memory data file offline, one record at a time, without any
// instrument. It holds its own table of 100 records and its own file path, shows one record in its
// fields, keeps the fields inside the limits of the model selected in the main window while they
// change, copies them into the table on "Change" and writes the whole table on "Save"/"Save As".
// Modeless and owned by the main window; several may be open at once. It deletes itself when closed.

#include "editor/field_checks.h"
#include "editor/form3_controls.h"
#include "editor/record_table.h"
#include "ui/list_window.h"

#include <QPointer>
#include <QWidget>

namespace orx {

class Dialogs;
struct ProgramState;

class Form3 : public QWidget
{
    Q_OBJECT
public:
    Form3(QWidget* owner, ProgramState& state, Dialogs& dialogs);

    // The window load: takes the file named by the program's data file path (none: a new file), loads
    // it and shows record 0. A file that cannot be read is reported and the window starts as a new file.
    void load();

    // Puts record n into the fields; each field's rule runs on the text it gets.
    void ShowRecord(int n);

    void cmd_change_Click();
    void cmd_save_Click();
    void cmd_saveas_Click() { SaveRecordsAs(); }
    void cmd_exit_Click();
    // Lists what a save of the table would write that the model selected now would not take as it
    // stands, with what the panel would use instead; choosing a row shows that record.
    void cmd_check_Click();
    ListWindow* checkList() const { return m_checkList; }

    // Asks for a file name and saves there; nothing happens when the user cancels.
    void SaveRecordsAs();
    // Writes the header and all 100 records to `path`, never-set records with the defaults. The file
    // is replaced whole or not at all: on failure a "Warning" box says why and the window, its table,
    // its path and its caption stay as they were. True when the file was written.
    bool SaveRecords(const QString& path);

    const Form3Controls& controls() const { return m_c; }
    const RecordTable& records() const { return m_records; }
    const QString& filePath() const { return m_filePath; }
    int currentRecord() const { return m_currentRecord; }
    float fieldStep() const { return m_fieldStep; }

private:
    void connectFields();
    void connectAdjusters();
    void connectButtons();
    void record_Change();
    void writeLevel(LevelField field, const QString& text);
    void stepLevel(Adjuster* adjuster, TextField* input);
    void loadFile(const QString& path);

    ProgramState& m_state;
    Dialogs& m_dialogs;
    QWidget* m_owner;
    Form3Controls m_c;
    RecordTable m_records;
    QString m_filePath;
    int m_currentRecord = 0;
    float m_fieldStep = 1.0f;
    QPointer<ListWindow> m_checkList;
    QList<int> m_checkedRecords; // the record of each row of the check list
};

} // namespace orx
