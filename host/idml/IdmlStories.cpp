// What a copied page takes along besides its spread: the stories of its text
// frames, and its place in the numbering of pages and sections.

#include <cstring>
#include <map>
#include <string>

#include "host/HostError.h"
#include "host/idml/IdmlDuplicate.h"

namespace host::idml {

namespace {

pugi::xml_node designmapDocument(IdmlDocument& document) {
    return document.designmap().child("Document");
}

// The part holding story `id`, as designmap.xml lists it.
std::string storyPart(IdmlDocument& document, const std::string& id) {
    std::string usual = "Stories/Story_" + id + ".xml";
    for (pugi::xml_node listed : designmapDocument(document).children("idPkg:Story")) {
        if (usual == listed.attribute("src").value()) {
            return usual;
        }
    }
    throw HostError("Cannot copy the text of \"" + document.path().string() + "\": its story \"" +
                    id + "\" is not in the package.");
}

std::string copyStory(IdmlDocument& document, const std::string& id) {
    const std::string name = storyPart(document, id);
    const std::string& text = document.package().contents(name);
    pugi::xml_document xml;
    if (!xml.load_buffer(
            text.data(), text.size(),
            pugi::parse_default | pugi::parse_declaration | pugi::parse_pi | pugi::parse_ws_pcdata,
            pugi::encoding_utf8)) {
        throw HostError("Cannot copy the text of \"" + document.path().string() +
                        "\": its part \"" + name + "\" is not well-formed XML.");
    }
    // Every element with an id gets a fresh one, the story first.
    std::vector<pugi::xml_node> stack{xml.document_element()};
    std::string fresh;
    while (!stack.empty()) {
        pugi::xml_node node = stack.back();
        stack.pop_back();
        if (pugi::xml_attribute self = node.attribute("Self")) {
            const std::string copy = document.freshId();
            if (std::strcmp(node.name(), "Story") == 0 && fresh.empty()) {
                fresh = copy;
            }
            self.set_value(copy.c_str());
        }
        for (pugi::xml_node child : node.children()) {
            if (child.type() == pugi::node_element) {
                stack.push_back(child);
            }
        }
    }
    if (fresh.empty()) {
        throw HostError("Cannot copy the text of \"" + document.path().string() +
                        "\": its part \"" + name + "\" holds no story.");
    }
    const std::string part = "Stories/Story_" + fresh + ".xml";
    document.addPart(part, IdmlDocument::partText(xml));
    // Listed after the last story, as InDesign lists them, and in the story list.
    pugi::xml_node root = designmapDocument(document);
    pugi::xml_node last;
    for (pugi::xml_node listed : root.children("idPkg:Story")) {
        last = listed;
    }
    pugi::xml_node entry =
        last ? root.insert_child_after("idPkg:Story", last) : root.append_child("idPkg:Story");
    entry.append_attribute("src") = part.c_str();
    if (last && last.previous_sibling().type() == pugi::node_pcdata) {
        root.insert_copy_after(last.previous_sibling(), last);
    }
    pugi::xml_attribute list = root.attribute("StoryList");
    if (!list) {
        list = root.append_attribute("StoryList");
    }
    const std::string stories = list.value();
    list.set_value((stories.empty() ? fresh : stories + " " + fresh).c_str());
    document.designmapChanged();
    return fresh;
}

// The number a page name ends in, and the text before it.
struct PageName {
    std::string prefix;
    long number = -1;  // none
};

PageName splitName(const std::string& name) {
    const std::size_t digits = name.find_last_not_of("0123456789") + 1;
    if (digits == name.size() || name.size() - digits > 9) {
        return {name, -1};
    }
    return {name.substr(0, digits), std::stol(name.substr(digits))};
}

std::string nextName(const std::string& name) {
    const PageName split = splitName(name);
    return split.number < 0 ? name : split.prefix + std::to_string(split.number + 1);
}

}  // namespace

void copyStories(IdmlDocument& document, pugi::xml_node copy) {
    std::vector<pugi::xml_node> frames;
    for (pugi::xpath_node found : copy.select_nodes(".//TextFrame")) {
        frames.push_back(found.node());
    }
    std::map<std::string, bool> inCopy;
    for (pugi::xml_node frame : frames) {
        inCopy[frame.attribute("Self").value()] = true;
    }
    std::map<std::string, std::string> stories;  // original id, copy's id
    for (pugi::xml_node frame : frames) {
        // A thread to a frame left behind is cut: the copy's text stays its own.
        for (const char* thread : {"PreviousTextFrame", "NextTextFrame"}) {
            pugi::xml_attribute attribute = frame.attribute(thread);
            if (attribute && !inCopy.count(attribute.value())) {
                attribute.set_value("n");
            }
        }
        pugi::xml_attribute story = frame.attribute("ParentStory");
        if (!story || std::strcmp(story.value(), "n") == 0) {
            continue;
        }
        auto [found, added] = stories.try_emplace(story.value());
        if (added) {
            found->second = copyStory(document, story.value());
        }
        story.set_value(found->second.c_str());
    }
}

void numberNewPage(IdmlDocument& document, pugi::xml_node page) {
    std::vector<pugi::xml_node> pages;
    for (std::size_t i = 0; i < document.spreadCount(); ++i) {
        for (pugi::xml_node each : document.pagesOf(i)) {
            pages.push_back(each);
        }
    }
    std::size_t at = 0;
    while (at < pages.size() && pages[at] != page) {
        ++at;
    }
    if (at == 0 || at == pages.size()) {
        throw HostError("The new page has no page before it.");
    }
    const pugi::xml_node root = document.designmap().child("Document");
    // Sections by the id of the page each starts at.
    std::map<std::string, pugi::xml_node> sections;
    for (pugi::xml_node section : root.children("Section")) {
        sections[section.attribute("PageStart").value()] = section;
    }
    pugi::xml_node holding;
    for (std::size_t i = 0; i < at; ++i) {
        if (const auto found = sections.find(pages[i].attribute("Self").value());
            found != sections.end()) {
            holding = found->second;
        }
    }
    page.attribute("Name").set_value(nextName(pages[at - 1].attribute("Name").value()).c_str());
    if (holding) {
        for (const char* length : {"Length", "AlternateLayoutLength"}) {
            if (pugi::xml_attribute count = holding.attribute(length)) {
                count.set_value(count.as_int() + 1);
            }
        }
        document.designmapChanged();
    }
    // The pages after it move up by one, up to a section that starts its own count.
    for (std::size_t i = at + 1; i < pages.size(); ++i) {
        if (const auto found = sections.find(pages[i].attribute("Self").value());
            found != sections.end() &&
            std::strcmp(found->second.attribute("ContinueNumbering").value(), "false") == 0) {
            break;
        }
        const std::string name = pages[i].attribute("Name").value();
        if (splitName(name).number >= 0) {
            document.setAttribute(pages[i], "Name", nextName(name));
        }
    }
}

}  // namespace host::idml
