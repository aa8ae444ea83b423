#pragma once
// The two link settings sheets: the COM page ("Настройка COM-порта") and the network page
// ("Настройка сети"), each alone in its sheet. They edit the instrument object's link settings; the
// new values take effect at the next connect.

#include <QDialog>

#include <cstdint>

class QComboBox;
class QDialogButtonBox;
class QLineEdit;
class QSpinBox;
class QTabWidget;

namespace zarno {

class CRemoteDevice;
class Prompts;

// The speeds the COM page offers; any other speed may be typed.
inline constexpr uint32_t kComSpeeds[] = {110,   300,   600,   1200,  2400,   4800,   9600,  14400,
                                          19200, 38400, 56000, 57600, 115200, 128000, 256000};

// A one-page property sheet: the page, OK, Cancel and Apply (Apply enabled once the page changed).
class CLinkSheet : public QDialog {
    Q_OBJECT
public:
    CLinkSheet(const QString& title, const QString& pageTitle, QWidget* page, QWidget* parent);
    void setModified(bool modified);
    bool isModified() const { return m_modified; }

signals:
    void applyRequested();

private:
    QTabWidget* m_tabs;
    QDialogButtonBox* m_buttons;
    bool m_modified = false;
};

class CComPage1 : public QWidget {
    Q_OBJECT
public:
    CComPage1(CRemoteDevice& device, Prompts& prompts, QWidget* parent = nullptr);

    QComboBox* speedBox() const { return m_speed; }
    QSpinBox* remoteNumber() const { return m_remote; }
    // Takes the page's values into the link settings. A speed text that is not a positive number
    // keeps the speed the link had, so a slip of the keyboard never leaves the port at 0 bit/s.
    void apply();

signals:
    void changed();

private:
    CRemoteDevice& m_device;
    Prompts& m_prompts;
    QComboBox* m_speed;
    QSpinBox* m_remote;
};

class CEthernetPage1 : public QWidget {
    Q_OBJECT
public:
    explicit CEthernetPage1(CRemoteDevice& device, QWidget* parent = nullptr);

    QSpinBox* localPort() const { return m_local; }
    QSpinBox* remotePort() const { return m_remote; }
    QLineEdit* address() const { return m_address; }
    // Takes the page's values into the link settings; an address that is not four numbers 0 to 255
    // keeps the one the link had. The ports are shown and typed as they go on the wire, and kept in
    // the library's convention.
    void apply();

signals:
    void changed();

private:
    CRemoteDevice& m_device;
    QSpinBox* m_local;
    QSpinBox* m_remote;
    QLineEdit* m_address;
};


// The sheets as the main frame opens them (modal); true when the user left with OK.
class CPropertySheetCOM : public CLinkSheet {
    Q_OBJECT
public:
    CPropertySheetCOM(CRemoteDevice& device, Prompts& prompts, QWidget* parent = nullptr);
    CComPage1* page() const { return m_page; }

private:
    CComPage1* m_page;
};

class CPropertySheetEthernet : public CLinkSheet {
    Q_OBJECT
public:
    CPropertySheetEthernet(CRemoteDevice& device, QWidget* parent = nullptr);
    CEthernetPage1* page() const { return m_page; }

private:
    CEthernetPage1* m_page;
};

} // namespace zarno
