#pragma once
// Runs the built engine as a GUI would: a child process whose standard input and
// output are pipes, started in the folder that holds its book files. The environment
// variable TAMBLOR, when set, is the engine's command instead, run by the shell (as
// "wine /path/to/tamblor.exe" for the Windows build); its paths must be absolute.
#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

class EngineProcess {
public:
    explicit EngineProcess(const std::string& workingDirectory = TAMBLOR_BOOK_DIR) {
        int toChild[2], fromChild[2];
        if (pipe(toChild) != 0 || pipe(fromChild) != 0) return;
        const char* command = std::getenv("TAMBLOR");
        const std::string shellCommand = "exec " + std::string(command != nullptr ? command : "");
        pid_ = fork();
        if (pid_ == 0) {
            dup2(toChild[0], 0);
            dup2(fromChild[1], 1);
            for (int end : {toChild[0], toChild[1], fromChild[0], fromChild[1]}) close(end);
            if (chdir(workingDirectory.c_str()) == 0) {
                if (command != nullptr) execl("/bin/sh", "sh", "-c", shellCommand.c_str(), static_cast<char*>(nullptr));
                else execl(TAMBLOR_BINARY, TAMBLOR_BINARY, static_cast<char*>(nullptr));
            }
            _exit(127);
        }
        close(toChild[0]);
        close(fromChild[1]);
        toEngine_ = toChild[1];
        fromEngine_ = fromChild[0];
        signal(SIGPIPE, SIG_IGN);
    }
    ~EngineProcess() {
        closeInput();
        if (pid_ > 0 && !reaped_) kill(pid_, SIGKILL), waitpid(pid_, nullptr, 0);
        if (fromEngine_ >= 0) close(fromEngine_);
    }

    void send(const std::string& line) {
        if (toEngine_ >= 0) (void)!write(toEngine_, (line + "\n").data(), line.size() + 1);
    }
    void closeInput() {
        if (toEngine_ >= 0) close(toEngine_);
        toEngine_ = -1;
    }

    // The next line the engine writes, or "<timeout>" / "<eof>".
    std::string readLine(int timeoutMs = 5000) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (buffer_.find('\n') == std::string::npos) {
            if (eof_) return "<eof>";
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return "<timeout>";
            pollfd pfd{fromEngine_, POLLIN, 0};
            if (poll(&pfd, 1, static_cast<int>(left.count())) <= 0) continue;
            char chunk[4096];
            const ssize_t n = read(fromEngine_, chunk, sizeof chunk);
            eof_ = n <= 0;
            if (n > 0) buffer_.append(chunk, static_cast<size_t>(n));
        }
        const std::size_t newline = buffer_.find('\n');
        std::string line = buffer_.substr(0, newline);
        buffer_.erase(0, newline + 1);
        return line;
    }
    // Lines until the engine falls silent for quietMs (or closes its output); the first
    // line may take up to firstLineMs (an engine that has only just been started).
    std::vector<std::string> readLinesUntilQuiet(int quietMs = 300, int firstLineMs = 0) {
        std::vector<std::string> lines;
        for (;;) {
            const std::string line = readLine(lines.empty() ? std::max(quietMs, firstLineMs) : quietMs);
            if (line == "<timeout>" || line == "<eof>") return lines;
            lines.push_back(line);
        }
    }
    // Starts a session the way a GUI does: handshake, then a new game on a clock so
    // short that every search ends within a few tenths of a second.
    void startGame() {
        for (const char* line : {"xboard", "protover 2"}) send(line);
        // Until the last feature line: a slow start (as under Wine) must not spill them later.
        for (std::string line; (line = readLine()) != "feature done=1" && line != "<timeout>" && line != "<eof>";) {
        }
        for (const char* line : {"new", "level 0 0:05 0"}) send(line);
    }
    // The next line that is not a thinking line (those start with the depth and a blank;
    // result lines start with 1-0, 0-1 or 1/2).
    std::string readReply(int timeoutMs = 10000) {
        for (;;) {
            std::string line = readLine(timeoutMs);
            const auto digits = line.find_first_not_of("0123456789");
            if (digits == 0 || digits == std::string::npos || line[digits] != ' ') return line;
        }
    }
    // Exit status, or -1 when the engine has not ended within timeoutMs.
    int waitForExit(int timeoutMs = 5000) {
        for (int waited = 0, status = 0; waited < timeoutMs; waited += 10, usleep(10000))
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                reaped_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
        return -1;
    }

private:
    pid_t pid_ = -1;
    int toEngine_ = -1, fromEngine_ = -1;
    bool eof_ = false, reaped_ = false;
    std::string buffer_;
};

// A game under way after the handshake and "new"; each test ends it with "quit" and
// expects a clean exit.
class EngineGame : public ::testing::Test {
protected:
    EngineProcess engine;
    void SetUp() override { engine.startGame(); }
    void TearDown() override {
        engine.send("quit");
        EXPECT_EQ(engine.waitForExit(), 0);
    }
};
