#pragma once

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace tidepool {

// An X connection closed on every way out.
struct XcbDisconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using XcbConnection = std::unique_ptr<xcb_connection_t, XcbDisconnect>;

// A reply xcb allocated, freed on every way out.
template <typename Reply> using XcbReply = std::unique_ptr<Reply, decltype(&std::free)>;
template <typename Reply> XcbReply<Reply> Owned(Reply* reply) {
    return XcbReply<Reply>(reply, &std::free);
}

// The atom of the name, made when missing; none when the server does not answer.
inline xcb_atom_t XcbAtom(xcb_connection_t* connection, const char* name) {
    const auto reply = Owned(xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

} // namespace tidepool
