// Test support: a small tree of files with fixed dates, and the exact text
// blobsmith-cli (like "Copy" in the window) must make of it, on every platform.
#pragma once

#include <string>

#include "support/scratch_dir.h"

struct CliFixture {
    ScratchDir dir;

    // "tree" holds Hello World.txt, sub/abc.bin and empty.dat; other/ABC.BIN
    // shares a key with sub/abc.bin and, dropped after the tree, wins.
    CliFixture() {
        set(dir.write(u"tree/Hello World.txt", "hello world"), 2021, 3, 4, 5, 6, 7);
        set(dir.write(u"tree/sub/abc.bin", "abc"), 2020, 1, 2, 3, 4, 5);
        set(dir.write(u"tree/empty.dat", ""), 2018, 12, 31, 23, 59, 58);
        set(dir.write(u"other/ABC.BIN", std::string("abcdefgh\x01", 9)), 2019, 5, 6, 7, 8, 9);
    }

    static void set(const std::u16string& file, int y, int mo, int d, int h, int mi, int s) {
        ScratchDir::set_modified(file, y, mo, d, h, mi, s);
    }

    // The text for the drop "tree", "other/ABC.BIN".
    static std::string expected_text() {
        return "DataSection\r\n\r\n"
               "\t#size_ABC_BIN = 9 ; 2019/05/06 07:08:09\r\n"
               "\tfile_ABC_BIN:\r\n"
               "\tData.q $6867666564636261,$1\r\n\r\n"
               "\t#size_empty_dat = 0 ; 2018/12/31 23:59:58\r\n"
               "\tfile_empty_dat:\r\n"
               "\tData.q $0\r\n\r\n"
               "\t#size_Hello_World_txt = 11 ; 2021/03/04 05:06:07\r\n"
               "\tfile_Hello_World_txt:\r\n"
               "\tData.q $6F77206F6C6C6568,$646C72\r\n\r\n"
               "EndDataSection\r\n";
    }

    static std::string utf16le(const std::string& ascii) {
        std::string bytes;
        for (char c : ascii) {
            bytes += c;
            bytes += '\0';
        }
        return bytes;
    }
};
