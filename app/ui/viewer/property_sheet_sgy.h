#pragma once
// CPropertySheetSGY: the header viewer ("SGY"), two pages: the file's textual and binary headers,
// and the header of the trace chosen by its number. Only an OK button.

#include "app/viewer/sgy_header_source.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QSpinBox;
class QTableWidget;
class QTabWidget;

namespace zarno {

class CPropertySheetSGY : public QDialog {
    Q_OBJECT
public:
    CPropertySheetSGY(const QString& path, Prompts& prompts, QWidget* parent = nullptr);

    QTabWidget* pages() const { return m_pages; }
    QPlainTextEdit* textHeader() const { return m_text; }
    QTableWidget* binaryList() const { return m_binary; }
    QTableWidget* traceList() const { return m_trace; }
    QSpinBox* traceNumber() const { return m_number; }
    QLabel* tracesNote() const { return m_note; }
    // What the reader noticed about the headers: fields that disagree, why the samples cannot be read.
    QLabel* headerNotes() const { return m_headerNotes; }

    // The rows of trace number text (as typed, 1-based).
    void ShowTrace(const QString& text);

private:
    QWidget* makePage1();
    QWidget* makePage2();

    SgyHeaderSource m_source;
    QTabWidget* m_pages = nullptr;
    QPlainTextEdit* m_text = nullptr;
    QTableWidget* m_binary = nullptr;
    QTableWidget* m_trace = nullptr;
    QSpinBox* m_number = nullptr;
    QLabel* m_note = nullptr;
    QLabel* m_headerNotes = nullptr;
};

} // namespace zarno
