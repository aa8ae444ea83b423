#pragma once
// CDlgNScreen: "Настройка параметров отображения информации", the viewer's display settings. Four
// integer fields with their ranges; the last one is kept hidden. Only an OK button: closing the
// dialog otherwise cancels it.

#include <QDialog>

#include <array>

class QLineEdit;

namespace zarno {

class Prompts;

class CDlgNScreen : public QDialog {
    Q_OBJECT
public:
    CDlgNScreen(Prompts& prompts, QWidget* parent = nullptr);

    // The four values: most graphs per screen, BiasXGr, BiasXFur, BiasKoeffY.
    void setValues(const std::array<int, 4>& values);
    std::array<int, 4> values() const { return m_values; }
    QLineEdit* field(int i) const { return m_fields[std::size_t(i)]; }

    // Reads the fields as the dialog framework does: the first one that is not an integer or lies
    // outside its range is told to the user and keeps the dialog open (false).
    bool exchange();

public slots:
    void accept() override;

private:
    Prompts& m_prompts;
    std::array<QLineEdit*, 4> m_fields{};
    std::array<int, 4> m_values{};
};

} // namespace zarno
