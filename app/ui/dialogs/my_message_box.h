#pragma once
// The overwrite question of the several-file copy: "Да", "Нет", "Да для всех".

#include <QDialog>

namespace zarno {

class CMyMessageBox : public QDialog {
    Q_OBJECT
public:
    CMyMessageBox(const QString& targetPath, QWidget* parent = nullptr);
    // Set by "Да для всех", which closes the box like "Да".
    bool forAll() const { return m_forAll; }

private:
    bool m_forAll = false;
};

} // namespace zarno
