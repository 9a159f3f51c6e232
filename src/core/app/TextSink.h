// Where the text modes write their output. Every write is checked: a full disk
// or a closed output ends the run with the reason, never with a report cut
// short under an exit code that claims a result.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace dualvex {

class TextSink {
  public:
    TextSink() = default;
    virtual ~TextSink() = default;
    TextSink(const TextSink&) = delete;
    TextSink& operator=(const TextSink&) = delete;

    // Buffers text; does nothing once a write has failed.
    void Write(std::string_view text);
    // Hands everything buffered on; false when this or an earlier write failed.
    [[nodiscard]] bool Flush();

    bool Failed() const { return m_error != 0; }
    // The reader went away (a pipe into "head"): the run ends without a word.
    bool ReaderGone() const;
    // Why the output failed, in German with the system's reason.
    std::string ErrorMessage() const;

  protected:
    // Writes all of data; returns 0 or the errno value of the failure.
    virtual int Put(const char* data, std::size_t size) = 0;

  private:
    static constexpr std::size_t kBufferBytes = std::size_t{1} << 16;

    std::string m_buffer;
    int m_error = 0;
};

// Writes to a file descriptor (standard output in the program).
class FdSink final : public TextSink {
  public:
    explicit FdSink(int fd) : m_fd(fd) {}

  protected:
    int Put(const char* data, std::size_t size) override;

  private:
    int m_fd;
};

// Collects the text, for tests and callers that post-process it.
class StringSink final : public TextSink {
  public:
    const std::string& Text() const { return m_text; }

  protected:
    int Put(const char* data, std::size_t size) override;

  private:
    std::string m_text;
};

} // namespace dualvex
