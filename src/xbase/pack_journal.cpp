// The pack journal.
#include "xbase/pack_journal.h"

#include <fstream>
#include <sstream>

#include "xbase/error.h"
#include "xbase/file.h"

namespace xb {

std::string packJournalPath(const std::string& tablePath) {
    return tablePath + ".~pk";
}

void commitFileSwaps(const std::string& tablePath, const std::vector<FileSwap>& swaps) {
    std::string jnl = packJournalPath(tablePath);
    std::string text;
    // Files of the table's folder by name; a file elsewhere (reached through a link) in full.
    const std::string dir = directoryOf(jnl);
    auto name = [&](const std::string& p) { return directoryOf(p) == dir ? baseNameOf(p) : p; };
    for (auto& [from, to] : swaps)
        text += name(from) + "\t" + name(to) + "\n";
    text += "end\n";
    try {
        File f = File::open(jnl, OpenMode::CreateNew, LockMode::None);
        f.writeAt(0, text.data(), text.size());
        f.sync();
    } catch (const Error&) {
        // Not durable, so not started: a journal left behind would have the next open finish
        // a replacement that was reported as failed.
        try {
            removeFile(jnl);
        } catch (const Error&) {
        }
        throw;
    }
    syncDirectoryOf(jnl);
    for (auto& [from, to] : swaps)
        replaceFile(from, to);
    removeFile(jnl);
    syncDirectoryOf(jnl);
}

bool packJournalComplete(const std::string& tablePath) {
    std::ifstream in(packJournalPath(tablePath));
    std::string line;
    while (std::getline(in, line))
        if (line == "end") return true;
    return false;
}

void recoverInterruptedPack(const std::string& tablePath) {
    std::string jnl = packJournalPath(tablePath);
    std::string dir = directoryOf(tablePath);
    bool haveJournal = fileExists(jnl);
    std::vector<std::string> leftovers;
    for (const char* ext : {".DBF", ".FPT", ".CDX", ".dbf", ".fpt", ".cdx"}) {
        std::string t = tempSibling(withExtension(tablePath, ext));
        if (fileExists(t)) leftovers.push_back(t);
    }
    if (!haveJournal && leftovers.empty()) return;
    File guard;
    try {
        guard = File::open(tablePath, OpenMode::ReadOnly, LockMode::Exclusive);
    } catch (const Error&) {
        return;  // someone has the table open; they deal with their own files
    }
    if (haveJournal) {
        std::ifstream in(jnl);
        std::string line;
        std::vector<FileSwap> swaps;
        bool complete = false;
        while (std::getline(in, line)) {
            if (line == "end") {
                complete = true;
                break;
            }
            auto tab = line.find('\t');
            if (tab == std::string::npos) break;
            std::string from = line.substr(0, tab), to = line.substr(tab + 1);
            if (from.empty() || to.empty()) break;
            if (from[0] != '/') from = dir + from;
            if (to[0] != '/') to = dir + to;
            // Only a rebuilt file is ever renamed, and only over the file it was built for.
            if (from != tempSibling(to)) break;
            swaps.emplace_back(from, to);
        }
        if (complete) {
            for (auto& [from, to] : swaps)
                if (fileExists(from)) replaceFile(from, to);
        }
        removeFile(jnl);
    }
    for (auto& t : leftovers)
        if (fileExists(t)) removeFile(t);
    syncDirectoryOf(tablePath);
}

}  // namespace xb
