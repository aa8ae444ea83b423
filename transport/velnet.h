#pragma once
// The C interface of libvelnet.so: the 31 exported functions and the host's callback types. Hosts
// load the library with dlopen and bind these names with dlsym; they never link it. The records and
// numbers the interface speaks in are in transport/velnet_types.h, which this header brings along.
// Every value argument and result is 32 bits wide; booleans are 1 and 0. A function that takes a
// transport handle returns 0 and does nothing when the handle is not valid.

#include "transport/velnet_types.h"

#include <cstdint>

extern "C" {

// record: a VelnetRecordHead and the message's data, valid only during the call; size: its size.
typedef void (*VelnetMessageCallback)(void* sender, int32_t noAnswer, void* record, uint32_t size);
typedef void (*VelnetAnswerCallback)(void* sender, void* record, uint32_t size);
typedef void (*VelnetDeliveredCallback)(void* engine, void* record, uint32_t size);
typedef void (*VelnetBeforeSendCallback)(void* engine);
typedef void (*VelnetSyncProcedure)(void);

// CreateTransport's kind: the line a transport speaks over. Its localAddr is the local UDP port for
// the one and this side's line address for the other; a kind the library does not know means UDP.
enum VelnetTransportKind : uint32_t { kVelnetKindUdp = 0, kVelnetKindSerial = 1 };

int32_t InitWinSockets(void);
int32_t DoneWinSockets(void);

uint32_t ExtractMessageID(uint32_t header);
uint32_t BuildMessageID(uint32_t* header, uint32_t id);
void IncMessageIDDWORD(uint32_t* id);
uint32_t IncMessageID(uint32_t* header);
uint32_t RealDataLength(uint32_t header);
void BuildDataLength(uint32_t* header, uint32_t lengthBytes);
uint32_t ClientServerBufLength(uint32_t header);
uint32_t UDPBufLength(uint32_t header);

uint32_t IsValidTransport(uint32_t handle);
uint32_t CreateTransport(uint32_t kind, uint32_t localAddr, uint32_t groupFlag, uint32_t groupAddr,
                         const void* settings, uint32_t settingsSize);
uint32_t DestroyTransport(uint32_t handle);
// The diagnostics window exists only in a process that runs a Qt GUI application (QApplication);
// without one, SetTransportParent and ShowTransport with visible set return 0 and show nothing.
// parentWindow is a QWidget*, or null for a window of its own.
uint32_t SetTransportParent(uint32_t handle, void* parentWindow);
uint32_t SetTransportBounds(uint32_t handle, int32_t left, int32_t top, int32_t width, int32_t height);
uint32_t ShowTransport(uint32_t handle, uint32_t visible);
uint32_t SetTransportRemoteAddr(uint32_t handle, uint32_t addr);
uint32_t GetTransportRemoteAddr(uint32_t handle, uint32_t* addr);
uint32_t SetTransportRemoteAddrStr(uint32_t handle, const char* text);
uint32_t GetTransportRemoteAddrStr(uint32_t handle, char* buffer, uint32_t size);
uint32_t SetTransportRemotePort(uint32_t handle, uint32_t port);
uint32_t GetTransportRemotePort(uint32_t handle, uint32_t* port);
uint32_t GetClientCount(uint32_t handle, uint32_t* count);
uint32_t ConnectClient(uint32_t handle, uint32_t id, VelnetMessageCallback onMessage,
                       VelnetAnswerCallback onAnswer, VelnetDeliveredCallback onDelivered,
                       VelnetBeforeSendCallback onBeforeSend, uint32_t code1, uint32_t code2);
uint32_t RemoveClient(uint32_t handle, uint32_t id);
uint32_t SelectClient(uint32_t handle, uint32_t id, uint32_t* ok);
uint32_t DeselectClient(uint32_t handle, uint32_t id);
uint32_t WaitAndSendMessage(uint32_t handle, uint32_t waitCount, uint32_t code, uint32_t answerWanted,
                            uint32_t length, const void* data, uint32_t* ok);
uint32_t SendAnswer(uint32_t handle, uint32_t id, uint32_t length, const void* data, uint32_t* ok);
uint32_t CancelTransport(uint32_t handle);
void Synchronize(uint32_t handle, void* thread, VelnetSyncProcedure procedure);

} // extern "C"
