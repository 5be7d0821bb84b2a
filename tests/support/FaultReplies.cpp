#include "tests/support/FaultReplies.h"

#include <zlib.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace vellumry::test {

const char* FaultName(Fault fault)
{
    switch (fault) {
    case Fault::ConnectionRefused:
        return "ConnectionRefused";
    case Fault::ResetMidBody:
        return "ResetMidBody";
    case Fault::TruncatedBody:
        return "TruncatedBody";
    case Fault::RedirectLoop:
        return "RedirectLoop";
    case Fault::RedirectToFile:
        return "RedirectToFile";
    case Fault::EndlessBody:
        return "EndlessBody";
    case Fault::GzipBomb:
        return "GzipBomb";
    case Fault::Silent:
        return "Silent";
    case Fault::Drip:
        return "Drip";
    }
    return "Unknown";
}

ReplyScript FaultReply(Fault fault)
{
    using namespace std::chrono_literals;
    switch (fault) {
    case Fault::ResetMidBody:
        return ReplyScript()
            .Send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n" + std::string(5000, 'r'))
            .Pause(50ms)
            .Reset();
    case Fault::TruncatedBody:
        return ReplyScript().Send("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n" + std::string(500, 't')).Close();
    case Fault::RedirectLoop:
        return Respond(302, "", {"Location: /loop"});
    case Fault::RedirectToFile:
        return Respond(302, "", {"Location: file:///etc/passwd"});
    case Fault::EndlessBody:
        return ReplyScript().Send("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n").Endless(std::string(64 << 10, 'e'));
    case Fault::GzipBomb: {
        std::string bomb = GzipOfZeros(kGzipBombSize);
        return Respond(200, bomb, {"Content-Encoding: gzip"});
    }
    case Fault::Silent:
        return ReplyScript().Hang();
    case Fault::Drip:
        return ReplyScript().Drip("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n" + std::string(100, 'd'), 500ms);
    case Fault::ConnectionRefused:
        break;
    }
    throw std::logic_error("no reply for this fault");
}

std::string GzipOfZeros(std::size_t size)
{
    z_stream stream{};
    // 15 window bits plus 16: a gzip wrapper.
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2 failed");
    std::vector<unsigned char> zeros(1 << 20, 0);
    std::string out;
    std::vector<unsigned char> chunk(1 << 16);
    std::size_t left = size;
    int flush = Z_NO_FLUSH;
    do {
        std::size_t piece = std::min(left, zeros.size());
        left -= piece;
        flush = left == 0 ? Z_FINISH : Z_NO_FLUSH;
        stream.next_in = zeros.data();
        stream.avail_in = static_cast<uInt>(piece);
        do {
            stream.next_out = chunk.data();
            stream.avail_out = static_cast<uInt>(chunk.size());
            deflate(&stream, flush);
            out.append(reinterpret_cast<const char*>(chunk.data()), chunk.size() - stream.avail_out);
        } while (stream.avail_out == 0);
    } while (flush != Z_FINISH);
    deflateEnd(&stream);
    return out;
}

}  // namespace vellumry::test
