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

    // Sites.
    kCmdOpenSite = 32829,
};

// The signal viewer's menu (its window answers them; the main frame never sees them).
enum ViewerCommandId : int {
    kCmdHeaders = 32786,
    kCmdFillLine = 32787,
    kCmdFillUpper = 32788,
    kCmdFillLower = 32790,
    kCmdViewerClose = 32792,
    kCmdDisplaySettings = 32793,
    kCmdSpectrum = 32794,
    kCmdSignals = 32795,
    kCmdSaveSpectrum = 32796,
    kCmdWindowRectangular = 32798,
    kCmdWindowBlackmanHarris = 32799,
    kCmdWindowHamming = 32800,
    kCmdScaleLog = 32801,
    kCmdScaleLinear = 32802,
    kCmdSwitchPane = 32803,
    kCmdViewerToggleManager = 32813,
    kCmdViewerCascade = 32814,
    kCmdViewerTile = 32815,
    kCmdViewerNextWindow = 32818,
    kCmdGrid = 32819,
    kCmdEditGain = 32823,
    kCmdPrintReport = 32824,
    kCmdViewerNoItem = 32825, // no menu item carries it; the frame answers it with nothing
    kCmdEditFilter = 32827,
    kCmdFitPile = 32828,
    kCmdLengthToSite = 32830, // only in a viewer opened from a site window
};

} // namespace zarno
