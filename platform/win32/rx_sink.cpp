// Received bytes as window messages (see rx_sink.h).
#include "platform/win32/rx_sink.h"

namespace orlo {

bool WindowMessageSink::postByte(std::uint8_t byte, unsigned source, OsError& error)
{
    HWND window = window_;
    if (!window) {
        // A null window would post to this reader thread's own queue.
        error = ERROR_INVALID_WINDOW_HANDLE;
        return false;
    }
    if (PostMessageW(window, kRxByteMessage, byte, static_cast<LPARAM>(source))) {
        error = 0;
        return true;
    }
    error = GetLastError();
    return false;
}

void WindowMessageSink::sendByte(std::uint8_t byte, unsigned source)
{
    // A send returns as soon as the window is gone, so the receive thread
    // never waits for a window that no longer handles messages. The time-out
    // applies only once the window's thread stops handling messages (a
    // reconnect waits for this thread on the window's thread): the byte is
    // then dropped instead of both threads waiting for each other.
    HWND window = window_;
    if (window) {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(window, kRxByteMessage, byte, static_cast<LPARAM>(source),
                            SMTO_NORMAL | SMTO_NOTIMEOUTIFNOTHUNG, 2000, &result);
    }
}

void WindowMessageSink::linkLost(LinkKind kind)
{
    HWND window = window_;
    if (window)
        PostMessageW(window, kLinkLostMessage, static_cast<WPARAM>(kind), 0);
}

}  // namespace orlo
