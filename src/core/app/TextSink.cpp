#include "core/app/TextSink.h"

#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace dualvex {

void TextSink::Write(std::string_view text)
{
    if (m_error != 0) return;
    if (m_buffer.size() + text.size() > kBufferBytes && !Flush()) return;
    if (text.size() >= kBufferBytes) {
        m_error = Put(text.data(), text.size());
        return;
    }
    m_buffer.append(text);
}

bool TextSink::Flush()
{
    if (m_error == 0 && !m_buffer.empty()) m_error = Put(m_buffer.data(), m_buffer.size());
    m_buffer.clear();
    return m_error == 0;
}

bool TextSink::ReaderGone() const
{
    return m_error == EPIPE;
}

std::string TextSink::ErrorMessage() const
{
    if (m_error == 0) return {};
    return "Die Ausgabe konnte nicht geschrieben werden: " + std::generic_category().message(m_error);
}

int FdSink::Put(const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = write(m_fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return EIO; // a write that makes no progress would loop forever
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return 0;
}

int StringSink::Put(const char* data, std::size_t size)
{
    m_text.append(data, size);
    return 0;
}

} // namespace dualvex
