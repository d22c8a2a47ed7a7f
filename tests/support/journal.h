#pragma once

#include <string>
#include <vector>

// What the fakes were asked to do, in order, one line a call, so that tests
// can check the order of steps across the window and the socket.
struct Journal
{
    std::vector<std::string> lines;
    void add(std::string line) { lines.push_back(std::move(line)); }
};
