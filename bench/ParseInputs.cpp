// Reads every input file of a data set once with the comma reader, as a floor for the time of a
// whole run: orravant-parse-inputs [--threads N] FILE FIELDS [FILE FIELDS ...]. Prints the seconds
// taken and the bytes read.
//
// With one thread (the default) each file is streamed through the reader from its start. With N
// threads every file is cut into pieces of 8 MiB, each ending at a line end, and the threads take
// the pieces in turn, each piece read into memory and split and converted by a reader of its own:
// what the machine can do on all its cores. A piece's records must not run over its last line
// (true of the files the generator writes); this is a measure, not a reader for the program.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "core/CommaReader.h"
#include "core/InputError.h"

namespace {

constexpr std::size_t kPieceBytes = std::size_t{8} << 20;

struct Input {
    std::filesystem::path file;
    int fields = 0;
};

double parseWhole(const Input& input) {
    double sum = 0;
    orr::CommaReader reader{input.file};
    while (reader.next(input.fields)) {
        for (int f = 0; f < input.fields; ++f) sum += reader.number(f, "");
    }
    return sum;
}

// The `size` bytes of the file at `offset`.
std::string readPiece(int fd, std::uintmax_t offset, std::size_t size) {
    std::string text(size, '\0');
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n =
            ::pread(fd, text.data() + got, size - got, static_cast<off_t>(offset + got));
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    text.resize(got);
    return text;
}

// Where each piece of the file starts: every kPieceBytes, moved on past the next line end.
std::vector<std::uintmax_t> pieceStarts(int fd, std::uintmax_t size) {
    std::vector<std::uintmax_t> starts{0};
    char probe[4096];
    for (std::uintmax_t at = kPieceBytes; at < size; at += kPieceBytes) {
        std::uintmax_t p = std::max(at, starts.back());
        bool found = false;
        while (!found && p < size) {
            const ssize_t n = ::pread(fd, probe, sizeof probe, static_cast<off_t>(p));
            if (n <= 0) break;
            const void* nl = std::memchr(probe, '\n', static_cast<std::size_t>(n));
            if (nl) {
                p += static_cast<std::uintmax_t>(static_cast<const char*>(nl) - probe) + 1;
                found = true;
            } else {
                p += static_cast<std::uintmax_t>(n);
            }
        }
        if (p < size && p > starts.back()) starts.push_back(p);
    }
    starts.push_back(size);
    return starts;
}

double parsePieces(const std::vector<Input>& inputs, unsigned threads) {
    struct Piece {
        std::size_t input;
        std::uintmax_t start, end;
    };
    std::vector<Piece> pieces;
    std::vector<int> fds;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const int fd = ::open(inputs[i].file.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) throw std::runtime_error("cannot open " + inputs[i].file.string());
        fds.push_back(fd);
        const auto starts = pieceStarts(fd, std::filesystem::file_size(inputs[i].file));
        for (std::size_t k = 0; k + 1 < starts.size(); ++k)
            pieces.push_back({i, starts[k], starts[k + 1]});
    }
    std::atomic<std::size_t> next{0};
    std::vector<double> sums(threads, 0.0);
    std::vector<std::string> faults(threads);
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            try {
                for (std::size_t k; (k = next.fetch_add(1)) < pieces.size();) {
                    const Piece& piece = pieces[k];
                    const Input& input = inputs[piece.input];
                    std::string text = readPiece(fds[piece.input], piece.start,
                                                 static_cast<std::size_t>(piece.end - piece.start));
                    orr::CommaReader reader(std::move(text), input.file);
                    while (reader.next(input.fields)) {
                        for (int f = 0; f < input.fields; ++f) sums[t] += reader.number(f, "");
                    }
                }
            } catch (const std::exception& e) {
                faults[t] = e.what();
            }
        });
    }
    for (auto& w : workers) w.join();
    for (int fd : fds) ::close(fd);
    for (const auto& fault : faults) {
        if (!fault.empty()) throw std::runtime_error(fault);
    }
    double sum = 0;
    for (double s : sums) sum += s;
    return sum;
}

}  // namespace

int main(int argc, char** argv) {
    unsigned threads = 1;
    int first = 1;
    if (argc > 2 && std::strcmp(argv[1], "--threads") == 0) {
        threads = static_cast<unsigned>(std::max(1, std::atoi(argv[2])));
        first = 3;
    }
    if (argc - first < 2 || (argc - first) % 2 != 0) {
        std::fprintf(stderr, "usage: %s [--threads N] FILE FIELDS [FILE FIELDS ...]\n", argv[0]);
        return 2;
    }
    std::vector<Input> inputs;
    std::uintmax_t bytes = 0;
    for (int i = first; i + 1 < argc; i += 2) {
        inputs.push_back({argv[i], std::atoi(argv[i + 1])});
        bytes += std::filesystem::file_size(argv[i]);
    }
    const auto start = std::chrono::steady_clock::now();
    double sum = 0;
    try {
        if (threads == 1) {
            for (const Input& input : inputs) sum += parseWhole(input);
        } else {
            sum = parsePieces(inputs, threads);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.3f %ju %g\n", seconds, bytes, sum == 0 ? 0.0 : 1.0);
    return 0;
}
