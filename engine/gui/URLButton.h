#pragma once

#include "engine/gui/Button.h"

#include <string>
#include <string_view>

namespace orv {

class PropertyNode;

/// A button that opens a web or mail link in the user's browser or mail
/// program when it fires, then calls its callback like any button.
///
/// Definition keys, after the `Button` keys (all optional): "url" (the
/// link) and "file" (an image file loaded at once as the button's four-frame
/// strip; one that fails to load leaves the image as it was).
///
/// Only http, https and mailto links are opened (links come from data files
/// and must never start a local program or open a local file); any other
/// link is refused and logged. Fired by the mouse, the button fires (and so
/// opens its link) only once a container registered a callback function for
/// it; a fire key opens it in any case.
///
///     <URLButton name="WEBSITE" url="https://example.com/" file="media/web.png"
///                firekey="13"/>
///
/// Main thread only.
class URLButton : public Button {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// How a link is opened: true when something opened it. The default is
    /// `platform::openUrl`.
    using UrlOpener = bool (*)(std::string_view url);

    /// Built from a definition node (keys above); null reads as an empty
    /// definition.
    explicit URLButton(PropertyNode* definition);

    /// The object factory's create function for "URLButton".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Opens the link, then returns function(context, argument), or 0 when
    /// no function is registered.
    int call(void* argument) override;
    /// Opens the link through the opener; false (and logged) when it is
    /// refused or nothing could open it.
    [[nodiscard]] bool openLink() const;

    [[nodiscard]] const std::string& getUrl() const { return url_; }
    void setUrl(std::string_view url) { url_ = url; }

    /// Replaces the opener of every URL button (null: the platform's). Tests
    /// install one that records instead of starting a browser.
    static void setUrlOpener(UrlOpener opener);

private:
    void readDefinition(PropertyNode* definition);

    std::string url_;
};

} // namespace orv
