#pragma once
// The program's command numbers. The menus, the toolbar and the accelerators all name commands by
// these numbers, so a command keeps its number wherever it is offered.

namespace zarno {

enum CommandId : int {
    // The framework's standard commands.
    kCmdFileNew = 57600,
    kCmdFileOpen = 57601,
    kCmdPrintSetup = 57606,
    kCmdAppExit = 57665,
    kCmdAppAbout = 57664,

    // Link.
    kCmdShowTransport = 32771,
    kCmdConnectCom1 = 32772,
    kCmdConnectCom2 = 32773,
    kCmdComSettings = 32774,
    kCmdConnectNetwork = 32775,
    kCmdNetworkSettings = 32776,
    kCmdDisconnect = 32777,
    kCmdConnectSaved = 32826, // no menu item: connects by the saved link kind

    // File commands of the active panel.
    kCmdCopy = 32779,
    kCmdMakeDirectory = 32780,
    kCmdDelete = 32781,
    kCmdToolbar = 32782,
    kCmdShowSgy = 32784,

    // The file-manager window's own commands.
    kCmdSwitchPanel = 32783,
    kCmdLeftDriveList = 32804,
    kCmdRightDriveList = 32805,
    kCmdToggleManager = 32808,
    kCmdCascade = 32810,
    kCmdTile = 32811,
    kCmdNextWindow = 32817,
};

} // namespace zarno
