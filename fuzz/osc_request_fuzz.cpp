// SPDX-License-Identifier: MIT
// Any datagram through the OSC bridge's reading: its own reader takes it
// apart and each message is read as a request, under the sanitizers. The
// model is liblo's own dispatcher: when the bridge's reader takes a
// datagram, liblo dispatches the same messages, with the same type tags, in
// the same order. What each message asks for is held by the bridge's cases.

#include "osc_request.h"
#include "support/fuzz_check.h"

#include <lo/lo.h>

#include <string>
#include <vector>

using namespace corvane;

namespace {

std::vector<std::string> g_dispatched; // path and types, as liblo's dispatcher saw them

int Dispatched(const char *path, const char *types, lo_arg **, int, lo_message, void *)
{
    g_dispatched.push_back(std::string(path) + " ," + types);
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // liblo dispatches only through a server, whose own socket is never used;
    // its reports of unreadable datagrams are silenced, those are the point here.
    static lo_server server = [] {
        lo_server s = lo_server_new_with_proto(nullptr, LO_UDP, [](int, const char *, const char *) {});
        FUZZ_CHECK(s != nullptr, "liblo cannot make a server");
        lo_server_enable_queue(s, 0, 1);
        lo_server_add_method(s, nullptr, nullptr, Dispatched, nullptr);
        return s;
    }();
    std::vector<char> datagram(data, data + size); // exactly as long, so a read past it is caught
    std::string why;
    const auto messages = ReadOscDatagram(datagram.data(), datagram.size(), &why);
    if (!messages)
        return 0;
    g_dispatched.clear();
    lo_server_dispatch_data(server, datagram.data(), datagram.size());
    FUZZ_CHECK(g_dispatched.size() == messages->size(), "%zu messages read, liblo dispatched %zu",
               messages->size(), g_dispatched.size());
    for (std::size_t i = 0; i < messages->size(); ++i) {
        const OscMessageIn &message = (*messages)[i];
        lo_message read = message.message.get();
        FUZZ_CHECK(g_dispatched[i] == message.path + " ," + lo_message_get_types(read),
                   "message %zu read as %s, dispatched as %s", i, message.path.c_str(),
                   g_dispatched[i].c_str());
        ReadOscRequest(message.path, lo_message_get_types(read), lo_message_get_argv(read));
    }
    return 0;
}
