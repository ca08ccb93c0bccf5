// GPX through expat, with every document type refused before its declarations are read: a
// document that declares entities could make a few bytes expand into gigabytes.
#include "tool/import/gpx_reader.h"

#include <expat.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <optional>

namespace scenario {
namespace {

std::string_view localName(const XML_Char* name) {
    std::string_view text(name);
    const std::size_t colon = text.rfind(':');
    return colon == std::string_view::npos ? text : text.substr(colon + 1);
}

std::optional<double> number(std::string_view text) {
    while (!text.empty() && std::strchr(" \t\r\n", text.front())) text.remove_prefix(1);
    while (!text.empty() && std::strchr(" \t\r\n", text.back())) text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (fault != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

struct GpxState {
    XML_Parser parser = nullptr;
    std::string error;
    std::vector<std::vector<GeoPoint>> tracks;
    std::vector<std::vector<GeoPoint>> routes;
    std::vector<NamedPlace> places;
    // The point being read and where it goes.
    std::vector<GeoPoint>* into = nullptr;
    GeoPoint point;
    bool inWaypoint = false;
    NamedPlace place;
    std::string text;
    bool collecting = false;

    void fail(std::string message) {
        if (error.empty())
            error = "line " + std::to_string(XML_GetCurrentLineNumber(parser)) + ": " + message;
        XML_StopParser(parser, XML_FALSE);
    }

    bool readPosition(const XML_Char** attributes, double& lat, double& lon) {
        std::optional<double> la;
        std::optional<double> lo;
        for (int i = 0; attributes[i]; i += 2) {
            if (std::strcmp(attributes[i], "lat") == 0) la = number(attributes[i + 1]);
            if (std::strcmp(attributes[i], "lon") == 0) lo = number(attributes[i + 1]);
        }
        if (!la || !lo) {
            fail("a point lacks a readable lat or lon");
            return false;
        }
        if (!validCoordinates(*la, *lo)) {
            fail("coordinates out of range: lat " + std::to_string(*la) + ", lon " +
                 std::to_string(*lo));
            return false;
        }
        lat = *la;
        lon = *lo;
        return true;
    }

    void start(std::string_view name, const XML_Char** attributes) {
        // A new list would move the one the open point goes into.
        if ((name == "trkseg" || name == "rte") && into)
            return fail(std::string(name) + " inside a point");
        if (name == "trkseg") {
            tracks.emplace_back();
        } else if (name == "rte") {
            routes.emplace_back();
        } else if (name == "trkpt" || name == "rtept") {
            std::vector<std::vector<GeoPoint>>& list = name == "trkpt" ? tracks : routes;
            if (list.empty()) return fail(std::string(name) + " outside its track or route");
            point = GeoPoint{};
            if (!readPosition(attributes, point.lat, point.lon)) return;
            into = &list.back();
        } else if (name == "wpt") {
            place = NamedPlace{};
            if (!readPosition(attributes, place.lat, place.lon)) return;
            inWaypoint = true;
        } else if (name == "ele" || name == "name") {
            text.clear();
            collecting = true;
        }
    }

    void end(std::string_view name) {
        collecting = false;
        if (name == "ele" && into) {
            const std::optional<double> height = number(text);
            if (!height || !std::isfinite(*height)) return fail("unreadable ele \"" + text + "\"");
            point.ele = *height;
            point.hasEle = true;
        } else if (name == "name" && inWaypoint) {
            place.name = text;
        } else if ((name == "trkpt" || name == "rtept") && into) {
            into->push_back(point);
            into = nullptr;
        } else if (name == "wpt") {
            if (!place.name.empty()) places.push_back(place);
            inWaypoint = false;
        }
    }
};

void XMLCALL onStart(void* data, const XML_Char* name, const XML_Char** attributes) {
    static_cast<GpxState*>(data)->start(localName(name), attributes);
}
void XMLCALL onEnd(void* data, const XML_Char* name) {
    static_cast<GpxState*>(data)->end(localName(name));
}
void XMLCALL onText(void* data, const XML_Char* text, int length) {
    auto* state = static_cast<GpxState*>(data);
    if (state->collecting) state->text.append(text, static_cast<std::size_t>(length));
}
void XMLCALL onDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    static_cast<GpxState*>(data)->fail("a document type declaration is refused (no entities)");
}
void XMLCALL onEntity(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                      const XML_Char*, const XML_Char*, const XML_Char*) {
    static_cast<GpxState*>(data)->fail("an entity declaration is refused");
}

}  // namespace

bool readGpx(std::string_view bytes, TrackInput& track, std::string& error) {
    const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(
        XML_ParserCreate(nullptr), &XML_ParserFree);
    GpxState state;
    state.parser = parser.get();
    XML_SetUserData(parser.get(), &state);
    XML_SetElementHandler(parser.get(), onStart, onEnd);
    XML_SetCharacterDataHandler(parser.get(), onText);
    XML_SetStartDoctypeDeclHandler(parser.get(), onDoctype);
    XML_SetEntityDeclHandler(parser.get(), onEntity);
    XML_SetParamEntityParsing(parser.get(), XML_PARAM_ENTITY_PARSING_NEVER);
    // Fed in pieces, since a length above INT_MAX does not fit one call.
    constexpr std::size_t kPiece = 1 << 24;
    std::size_t at = 0;
    do {
        const std::size_t size = std::min(kPiece, bytes.size() - at);
        const bool last = at + size == bytes.size();
        if (XML_Parse(parser.get(), bytes.data() + at, static_cast<int>(size), last) ==
            XML_STATUS_ERROR) {
            if (state.error.empty())
                state.error = "line " + std::to_string(XML_GetCurrentLineNumber(parser.get())) +
                              ": " + XML_ErrorString(XML_GetErrorCode(parser.get()));
            error = "malformed GPX: " + state.error;
            return false;
        }
        at += size;
    } while (at < bytes.size());
    if (!state.error.empty()) {
        error = "malformed GPX: " + state.error;
        return false;
    }
    std::vector<std::vector<GeoPoint>>& chosen = state.tracks.empty() ? state.routes : state.tracks;
    for (std::vector<GeoPoint>& segment : chosen)
        if (!segment.empty()) track.segments.push_back(std::move(segment));
    track.places = std::move(state.places);
    return true;
}

}  // namespace scenario
