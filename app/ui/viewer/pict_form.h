#pragma once
// CPictForm1: the measurement panel on the left of the signal viewer. It shows what the panel's
// model holds and forwards what the user does to it; the rules live in PictPanelModel.

#include <QWidget>

#include <functional>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;

namespace zarno {

class PictPanelModel;
struct LengthsList;

class CPictForm1 : public QWidget {
    Q_OBJECT
public:
    explicit CPictForm1(QWidget* parent = nullptr);

    void Attach(PictPanelModel& model);
    // Everything shown again from the model; enabled only once a document is loaded.
    void Refresh(bool loaded);
    void ShowLengths(const LengthsList& lengths);

    // The controls, named for the window tests.
    QTableWidget* graphList() const { return m_graphs; }
    QTableWidget* lengthsList() const { return m_lengths; }
    QLineEdit* kyEditor() const { return m_kyEditor; }
    QLineEdit* lowerEdit() const { return m_lower; }
    QLineEdit* upperEdit() const { return m_upper; }
    QLabel* timeReadout() const { return m_time; }
    QLabel* lengthReadout() const { return m_length; }
    QLabel* tracesNote() const { return m_note; }

signals:
    // The model changed: the view repaints.
    void changed();

private:
    QWidget* makeGraphsGroup();
    QWidget* makeMarkerGroup();
    QWidget* makeAxisGroup();
    void openKyEditor(int row, int column);
    void finishKyEdit();
    void headerClicked(int column);
    void act(const std::function<void()>& call);

    PictPanelModel* m_model = nullptr;
    bool m_refreshing = false;
    int m_kyRow = -1;
    QTableWidget* m_graphs = nullptr;
    QLineEdit* m_kyEditor = nullptr;
    QLabel* m_note = nullptr;
    QLabel* m_time = nullptr;
    QLabel* m_length = nullptr;
    QLabel* m_delta = nullptr;
    QLineEdit* m_velocity = nullptr;
    QCheckBox* m_varu = nullptr;
    QCheckBox* m_processing = nullptr;
    QCheckBox* m_filter = nullptr;
    QSpinBox* m_graphNumber = nullptr;
    QLineEdit* m_vicinity = nullptr;
    QButtonGroup* m_searchModes = nullptr;
    QTableWidget* m_lengths = nullptr;
    QRadioButton* m_timeUnits = nullptr;
    QRadioButton* m_lengthUnits = nullptr;
    QLineEdit* m_lower = nullptr;
    QLineEdit* m_upper = nullptr;
};

} // namespace zarno
