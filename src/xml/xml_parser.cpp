// The parser under the document tree: Expat with 16-bit characters, whose
// callbacks turn into nodes, texts and attributes.
#include "xml/xml_parser.h"

#include <expat.h>

#include <algorithm>
#include <climits>

#include "system/utf.h"
#include "xml/string_arena.h"
#include "xml/tree_builder.h"
#include "xml/xml_heap.h"

static_assert(sizeof(XML_Char) == sizeof(char16_t), "the tree keeps the parser's 16-bit units as they come");

namespace {

// Handlers run inside Expat's frames: they are noexcept and never throw.

const char16_t* units(const XML_Char* s) {
    return reinterpret_cast<const char16_t*>(s);
}

std::size_t length_of(const XML_Char* s) {
    return std::char_traits<char16_t>::length(units(s));
}

XmlDocument& document_of(void* user_data) {
    return *static_cast<XmlDocument*>(user_data);
}

// The tree cannot follow the text any more: stop with "out of memory" and keep
// what was built, as for malformed text.
void out_of_memory(XmlDocument& document) noexcept {
    if (!document.error_code)
        document.error_code = XML_ERROR_NO_MEMORY;
    XML_StopParser(static_cast<XML_Parser>(document.parser), XML_FALSE);
}

void append(XmlDocument& document, const char16_t* text, std::size_t length, bool restore_newlines) noexcept {
    if (!append_text(document, text, length, restore_newlines))
        out_of_memory(document);
}

void append(XmlDocument& document, std::u16string_view text) noexcept {
    append(document, text.data(), text.size(), false);
}

char16_t* copy(XmlDocument& document, const XML_Char* s) noexcept {
    char16_t* result = arena_copy(document, units(s), length_of(s));
    if (!result)
        out_of_memory(document);
    return result;
}

void XMLCALL on_start_element(void* user_data, const XML_Char* name, const XML_Char** attributes) noexcept {
    XmlDocument& document = document_of(user_data);
    XmlNode* node = open_node(document, XML_NODE_ELEMENT);
    if (!node || !(node->name = copy(document, name)))
        return out_of_memory(document);

    std::size_t strings = 0;
    while (attributes[strings])
        ++strings;
    const std::size_t count = strings / 2;
    if (count == 0)
        return;
    if (count > std::size_t(INT32_MAX) || count > SIZE_MAX / (2 * sizeof(char16_t*)))
        return out_of_memory(document);
    auto** array = static_cast<char16_t**>(arena_allocate(document, 2 * count * sizeof(char16_t*)));
    if (!array)
        return out_of_memory(document);
    for (std::size_t i = 0; i < 2 * count; ++i) {
        if (!(array[i] = copy(document, attributes[i])))
            return;
        if (i % 2 == 0 && ascii_equal_ignore_case(array[i], u"ID"))
            node->id_attribute = static_cast<std::int32_t>(i / 2);
    }
    node->attributes = array;
    node->attribute_count = static_cast<std::int32_t>(count);
}

// A parse stopped in a start handler still gets the end of that element or
// section when it is empty. Its node may never have opened, and closing would
// then close the parent; the parse is over, so nothing more is closed.
void close_unless_stopped(XmlDocument& document) noexcept {
    if (!document.error_code)
        close_node(document);
}

void XMLCALL on_end_element(void* user_data, const XML_Char*) noexcept {
    close_unless_stopped(document_of(user_data));
}

// Expat reports every line break as LF; the stored text gets the input's.
void XMLCALL on_character_data(void* user_data, const XML_Char* text, int length) noexcept {
    append(document_of(user_data), units(text), static_cast<std::size_t>(length), true);
}

// What no other handler takes arrives raw: white space outside the document
// element, the internal subset, references to internal entities.
void XMLCALL on_default(void* user_data, const XML_Char* text, int length) noexcept {
    append(document_of(user_data), units(text), static_cast<std::size_t>(length), false);
}

void XMLCALL on_comment(void* user_data, const XML_Char* text) noexcept {
    XmlDocument& document = document_of(user_data);
    if (!open_node(document, XML_NODE_COMMENT))
        return out_of_memory(document);
    append(document, units(text), length_of(text), true);
    close_node(document);
}

void XMLCALL on_start_cdata(void* user_data) noexcept {
    XmlDocument& document = document_of(user_data);
    if (!open_node(document, XML_NODE_CDATA))
        out_of_memory(document);
}

void XMLCALL on_end_cdata(void* user_data) noexcept {
    close_unless_stopped(document_of(user_data));
}

void XMLCALL on_processing_instruction(void* user_data, const XML_Char* target, const XML_Char* data) noexcept {
    XmlDocument& document = document_of(user_data);
    XmlNode* node = open_node(document, XML_NODE_INSTRUCTION);
    if (!node || !(node->name = copy(document, target)))
        return out_of_memory(document);
    append(document, units(data), length_of(data), true);
    close_node(document);
}

// An identifier in the declaration's text: between single quotes when it holds
// a double quote, else between double quotes.
void append_identifier(XmlDocument& document, const XML_Char* id) noexcept {
    const std::u16string_view text(units(id), length_of(id));
    const bool has_double_quote = text.find(u'"') != std::u16string_view::npos;
    append(document, has_double_quote ? u" '" : u" \"");
    append(document, text);
    append(document, has_double_quote ? u"'" : u"\"");
}

void XMLCALL on_start_doctype(void* user_data,
                              const XML_Char* name,
                              const XML_Char* system_id,
                              const XML_Char* public_id,
                              int has_internal_subset) noexcept {
    XmlDocument& document = document_of(user_data);
    if (!open_node(document, XML_NODE_DOCTYPE))
        return out_of_memory(document);
    append(document, u"<!DOCTYPE ");
    append(document, std::u16string_view(units(name), length_of(name)));
    if (system_id)
        append(document, public_id ? u" PUBLIC" : u" SYSTEM");
    if (public_id)
        append_identifier(document, public_id);
    if (system_id)
        append_identifier(document, system_id);
    if (has_internal_subset) {
        // The subset's raw text follows through the default handler.
        append(document, u" [");
        return;
    }
    append(document, u">");
    close_node(document);
}

void XMLCALL on_end_doctype(void* user_data) noexcept {
    XmlDocument& document = document_of(user_data);
    if (document.current->kind != XML_NODE_DOCTYPE)
        return;
    append(document, u"]>");
    close_node(document);
}

void XMLCALL on_xml_declaration(void* user_data,
                                const XML_Char* version,
                                const XML_Char* encoding,
                                int standalone) noexcept {
    if (!version)
        return;  // a text declaration
    XmlDocument& document = document_of(user_data);
    if (encoding && !document.encoding_fixed) {
        const std::u16string_view name(units(encoding), length_of(encoding));
        if (ascii_equal_ignore_case(name, u"US-ASCII") || ascii_equal_ignore_case(name, u"ISO-8859-1"))
            document.encoding = XML_ENCODING_SINGLE_BYTE;
        else if (ascii_equal_ignore_case(name, u"UTF-16"))
            document.encoding = XML_ENCODING_UTF16;
        else
            document.encoding = XML_ENCODING_UTF8;
    }
    document.standalone = standalone;
}

// Expat's own strings are char in the unsigned-short build and wchar_t in the
// wchar_t build; both hold ASCII. Copied into the arena: no allocation that
// could throw.
template <class LChar>
char16_t* copy_widened(XmlDocument& document, const LChar* text) noexcept {
    std::size_t length = 0;
    while (text[length])
        ++length;
    auto* copy = static_cast<char16_t*>(arena_allocate(document, (length + 1) * 2));
    if (!copy)
        return nullptr;
    for (std::size_t i = 0; i <= length; ++i)
        copy[i] = static_cast<char16_t>(text[i]);
    return copy;
}

std::int32_t clamp_position(XML_Size value) {
    return value > XML_Size(INT32_MAX) ? INT32_MAX : static_cast<std::int32_t>(value);
}

}  // namespace

void* create_xml_parser(std::int32_t encoding_code) noexcept {
    const char16_t* name = encoding_code == XML_ENCODING_SINGLE_BYTE ? u"ISO-8859-1"
                           : encoding_code == XML_ENCODING_UTF16     ? u"UTF-16"
                           : encoding_code == XML_ENCODING_UTF8      ? u"UTF-8"
                                                                     : nullptr;
    static const XML_Memory_Handling_Suite heap = {xml_malloc, xml_realloc, xml_free};
    XML_Parser parser = XML_ParserCreate_MM(reinterpret_cast<const XML_Char*>(name), &heap, nullptr);
    if (!parser)
        return nullptr;
    XML_SetElementHandler(parser, on_start_element, on_end_element);
    XML_SetCharacterDataHandler(parser, on_character_data);
    // Not the expanding variant: references to internal entities stay text.
    XML_SetDefaultHandler(parser, on_default);
    XML_SetCommentHandler(parser, on_comment);
    XML_SetCdataSectionHandler(parser, on_start_cdata, on_end_cdata);
    XML_SetDoctypeDeclHandler(parser, on_start_doctype, on_end_doctype);
    XML_SetXmlDeclHandler(parser, on_xml_declaration);
    XML_SetProcessingInstructionHandler(parser, on_processing_instruction);
    return parser;
}

void free_xml_parser(void* parser) noexcept {
    XML_ParserFree(static_cast<XML_Parser>(parser));
}

void run_xml_parser(XmlDocument& document, const char16_t* text, std::size_t length, std::size_t chunk_units) noexcept {
    auto parser = static_cast<XML_Parser>(document.parser);
    XML_SetUserData(parser, &document);
    chunk_units = std::clamp<std::size_t>(chunk_units, 1, XML_PARSE_CHUNK_UNITS);
    const char* bytes = reinterpret_cast<const char*>(text ? text : u"");
    XML_Status status;
    for (;;) {
        const std::size_t part = std::min(length, chunk_units);
        const bool last = part == length;
        status = XML_Parse(parser, bytes, static_cast<int>(part * 2), last);
        bytes += part * 2;
        length -= part;
        if (last || status != XML_STATUS_OK)
            break;
    }
    if (status != XML_STATUS_ERROR)
        return;

    // A stop of our own (out of memory) keeps its code; Expat then says "aborted".
    const std::int32_t code = document.error_code ? document.error_code : XML_GetErrorCode(parser);
    document.error_code = code;
    document.error_line = clamp_position(XML_GetCurrentLineNumber(parser));
    document.error_column = clamp_position(XML_GetCurrentColumnNumber(parser) + 1);
    // Every code Expat has a text for, not only the first forty: the newer
    // codes (the entity amplification limit among them) deserve a message too.
    if (const XML_LChar* message = code > 0 ? XML_ErrorString(static_cast<XML_Error>(code)) : nullptr)
        document.error_message = copy_widened(document, message);
}
