// The parts of a Win32 serial line that both line classes share (see
// serial_line.h): the line settings, the queues, the port's name and its
// opening. Error codes are taken from GetLastError() at the failure, before
// any clean-up.
#include "platform/win32/serial_line.h"

#include "platform/strings.h"

namespace orlo {

OsError CommLine::getState(unsigned& baudRate)
{
    DCB dcb;
    ZeroMemory(&dcb, sizeof dcb);
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle(), &dcb))
        return GetLastError();
    dcb_ = dcb;
    baudRate = dcb.BaudRate;
    return 0;
}

OsError CommLine::setState(unsigned baudRate)
{
    // Rate, frame format and flow control; every other field keeps what the
    // driver returned to getState.
    DCB dcb = dcb_;
    dcb.BaudRate = baudRate;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    // A binary line without flow control: with XON/XOFF left on from the
    // driver's state, data bytes 0x11 and 0x13 would be taken as flow
    // control and never arrive.
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    if (!SetCommState(handle(), &dcb))
        return GetLastError();
    dcb_ = dcb;
    return 0;
}

void CommLine::purge(int what)
{
    DWORD flags = 0;
    if (what & PurgeTx)
        flags |= PURGE_TXCLEAR;
    if (what & PurgeRx)
        flags |= PURGE_RXCLEAR;
    PurgeComm(handle(), flags);
}

OsError CommLine::outputQueued(std::size_t& count)
{
    DWORD errors = 0;
    COMSTAT stat;
    ZeroMemory(&stat, sizeof stat);
    if (!ClearCommError(handle(), &errors, &stat))
        return GetLastError();
    count = stat.cbOutQue;
    return 0;
}

OsError CommLine::drain()
{
    if (!FlushFileBuffers(handle()))
        return GetLastError();
    return 0;
}

std::string serialPortPath(unsigned portNumber)
{
    return format("\\\\.\\COM%u", portNumber);
}

Handle openCommHandle(const std::string& path, DWORD flags, OsError& error)
{
    Handle h(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL | flags, nullptr));
    error = h.valid() ? 0 : GetLastError();
    return h;
}

}  // namespace orlo
