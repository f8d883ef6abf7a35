#include "cli_fixture.h"

#include <filesystem>

namespace torvanik::testing {
namespace {

constexpr int kMostDisks = 10;

}  // namespace

CliTest::CliTest() {
    std::filesystem::create_directories(config);
    std::filesystem::create_directories(drive);
}

std::vector<std::string> CliTest::DriveOption(const std::string& letter, const std::string& folder,
                                              std::uint64_t capacity) const {
    return {"--drive=" + letter + "=" + folder + ",capacity=" + std::to_string(capacity)};
}

std::string CliTest::MakeSource(const std::string& name, std::size_t size) const {
    const std::string path = temp / name;
    WriteBytes(path, PatternBytes(size));
    return path;
}

std::unique_ptr<CliProcess> CliTest::Start(const std::vector<std::string>& arguments,
                                           const CliStart& start) const {
    return std::make_unique<CliProcess>(arguments, config, start);
}

Session CliTest::Run(const std::vector<std::string>& arguments, const CliStart& start) const {
    auto cli = Start(arguments, start);
    Session session;
    while (auto piece = cli->ReadUntil(kPrompt)) {
        session.pieces.push_back(*piece);
        cli->SendLine("");
    }
    session.status = cli->Wait();
    session.pieces.push_back(cli->Rest());
    session.errors = cli->errors();
    return session;
}

Session CliTest::SplitOntoDisks(const std::string& source, const std::vector<std::string>& extra,
                                const CliStart& start) const {
    std::vector<std::string> arguments = DriveOption("A:", drive);
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    arguments.insert(arguments.end(), {"split", source});
    auto cli = Start(arguments, start);
    Session session;
    int disk = 0;
    while (auto piece = cli->ReadUntil(kPrompt)) {
        session.pieces.push_back(*piece);
        if (disk > 0) {
            MoveFiles(drive, Disk(disk));
        }
        if (++disk > kMostDisks) {
            break;
        }
        cli->SendLine("");
    }
    session.status = cli->Wait();
    session.pieces.push_back(cli->Rest());
    session.errors = cli->errors();
    MoveFiles(drive, Disk(disk));
    return session;
}

Session CliTest::JoinFromDisks(const std::string& destination, int count,
                               const std::vector<std::string>& extra) const {
    std::vector<std::string> arguments = extra;
    arguments.insert(arguments.end(), {"join", destination});
    return OverDisks(arguments, count);
}

Session CliTest::CheckDisks(int count) const {
    Session session = OverDisks({"check"}, count);
    MoveFiles(drive, Disk(count));
    return session;
}

Session CliTest::OverDisks(const std::vector<std::string>& verb, int count) const {
    MoveFiles(Disk(1), drive);
    std::vector<std::string> arguments = DriveOption("A:", drive);
    arguments.insert(arguments.end(), verb.begin(), verb.end());
    auto cli = Start(arguments);
    Session session;
    int disk = 1;
    while (auto piece = cli->ReadUntil(kPrompt)) {
        session.pieces.push_back(*piece);
        if (session.pieces.size() > 1 && disk < count) {
            MoveFiles(drive, Disk(disk));
            MoveFiles(Disk(++disk), drive);
        }
        if (session.pieces.size() > kMostDisks) {
            break;
        }
        cli->SendLine("");
    }
    session.status = cli->Wait();
    session.pieces.push_back(cli->Rest());
    session.errors = cli->errors();
    return session;
}

Session CliTest::OverTurns(const std::vector<std::string>& verb, int first,
                           const std::vector<Turn>& turns) const {
    MoveFiles(Disk(first), drive);
    int inDrive = first;
    std::vector<std::string> arguments = DriveOption("A:", drive);
    arguments.insert(arguments.end(), verb.begin(), verb.end());
    auto cli = Start(arguments);
    Session session;
    while (auto piece = cli->ReadUntil(kPrompt)) {
        const std::size_t turn = session.pieces.size();
        session.pieces.push_back(*piece);
        if (turn >= turns.size()) {
            cli->SendLine("q");
            continue;
        }
        if (const int disk = turns[turn].disk; disk > 0 && disk != inDrive) {
            MoveFiles(drive, Disk(inDrive));
            MoveFiles(Disk(disk), drive);
            inDrive = disk;
        }
        cli->SendLine(turns[turn].answer);
    }
    session.status = cli->Wait();
    session.pieces.push_back(cli->Rest());
    session.errors = cli->errors();
    MoveFiles(drive, Disk(inDrive));
    return session;
}

std::string Printed(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line + "\n";
    }
    return text + "\n";
}

}  // namespace torvanik::testing
