#pragma once
// A small XML reader and writer. XmlElement is a handle on an element of a tree: copies share
// the element, and the tree lives while a handle refers to it (a parent keeps its children,
// a child does not keep its parent). A default-constructed handle is the empty element, on
// which every lookup finds nothing and every change does nothing.
//
// All texts are 8-bit and zero-terminated, in the process-wide encoding. Names (of children,
// attributes and the first tag) are compared ignoring case. Positions count in the element's
// document order of children, texts and clear sections (attributes are not in it); -1 means
// at the end. Pointers returned by lookups stay valid until the element is next changed.
// UI thread only: the options are shared without locks.

#include "forms/XmlAttribute.h"
#include "forms/XmlClear.h"
#include "forms/XmlCodes.h"
#include "forms/XmlString.h"

#include <cstddef>
#include <memory>
#include <string>

struct XmlContents;
struct XmlNode;

class XmlElement {
public:
    XmlElement() = default;

    // Parsing, files and options.

    // Parses zero-terminated text. With a first tag, the result is the element of that name:
    // the root, or a child of it (declarations are searched through). The empty element on errors.
    static XmlElement ParseString(const char* text,
                                  const char* firstTag = nullptr,
                                  XmlParseResults* results = nullptr);
    // Parses at most length bytes of text (up to a zero byte), for buffers without terminator.
    static XmlElement ParseString(const char* text,
                                  size_t length,
                                  const char* firstTag,
                                  XmlParseResults* results);
    // Reads the whole file; 16-bit files are converted, a UTF-8 byte-order mark is skipped.
    static XmlElement ParseFile(const char* path,
                                const char* firstTag = nullptr,
                                XmlParseResults* results = nullptr);
    // Guesses the encoding from the file's first bytes, then parses it. On a code other than 0
    // the report for the user is stored in errorReport when one is given.
    static XmlElement LoadFile(const char* path,
                               const char* firstTag = nullptr,
                               std::string* errorReport = nullptr);

    // Sets the process-wide options: the encoding (kept when it is not 1 to 3, and then true is
    // returned), testing files for 16-bit text, and trimming white space around texts.
    static bool SetGlobalOptions(XmlCharEncoding encoding, bool wideTextDetection, bool trimWhiteSpace);
    static XmlCharEncoding GuessEncoding(const char* buffer, size_t length, bool lookForDeclaration);
    static const char* XmlErrorText(XmlErrorCode code);
    // Replaces & < > " ' by their entities. Null for a null text.
    static XmlString ToXmlString(const char* text);
    // The same into a buffer that is reused between calls; returns the buffer's text.
    static const char* ToXmlString(const char* text, std::string& buffer);
    // Decodes entities and character references; null with UnknownEntity when they are malformed.
    static XmlString FromXmlString(const char* text, XmlErrorCode* error = nullptr);
    static XmlString FromXmlString(const char* text, size_t length, XmlErrorCode* error);
    static const char* Version();

    // Writing.

    // The element and its subtree as text; formatting needs the trimming option.
    XmlString CreateString(bool format, int* length = nullptr) const;
    // Frees a string of CreateString before it goes out of scope.
    static void FreeString(XmlString& text);
    // None, CannotOpenForWriting or CannotWrite. The empty element writes nothing.
    XmlErrorCode WriteToFile(const char* path, const char* encodingName, bool format) const;

    // Handles and reading.

    static XmlElement CreateTopElement(const char* name, bool declaration = false);

    bool IsEmpty() const { return m_node == nullptr; }

    bool IsDeclaration() const;
    const char* GetName() const;
    XmlElement GetParent() const;

    // Whether both handles refer to the same element (two empty handles do).
    bool IsSameAs(const XmlElement& other) const { return m_node == other.m_node; }

    int ChildCount() const;
    int TextCount() const;
    int ClearCount() const;
    int AttributeCount() const;
    // Attributes, children, texts and clear sections together.
    int ContentCount() const;

    XmlElement GetChildAt(int index) const;
    const char* GetText(int index) const;
    const XmlClear& GetClear(int index) const;
    const XmlAttribute& GetAttributeAt(int index) const;
    const char* GetAttributeName(int index) const;
    const char* GetAttributeValue(int index) const;

    // The next child of that name at or after *index (in the child array; null: from the first),
    // and moves *index past it.
    XmlElement GetChild(const char* name, int* index) const;
    // The n-th child of that name, counted from 0.
    XmlElement GetChild(const char* name, int n = 0) const;
    int CountChildren(const char* name) const;
    // The next child of that name that has the attribute, with that value (ignoring case) when
    // one is given.
    XmlElement GetChildWithAttribute(const char* childName,
                                     const char* attributeName,
                                     const char* attributeValue,
                                     int* index) const;
    // The value of the next attribute of that name at or after *index, moving *index past it;
    // null when there is none or it has no value.
    const char* GetAttribute(const char* name, int* index) const;
    const char* GetAttribute(const char* name, int n = 0) const;
    bool IsAttributeSet(const char* name) const;

    // The index-th item: attributes first, then children, texts and clear sections in document
    // order. Type None past the end.
    XmlContents EnumContents(int index) const;

    // Positions of items in the document order, -1 when absent. An index past the end stands for
    // the last item of its kind.
    int PositionOfText(int index) const;
    int PositionOfText(const char* text) const;
    int PositionOfClear(int index) const;
    int PositionOfClear(const char* text) const;
    int PositionOfClear(const XmlClear* clear) const;
    int PositionOfChild(int index) const;
    int PositionOfChild(const XmlElement& child) const;
    int PositionOfChild(const char* name, int n) const;

    // Building and changing.

    XmlElement AddChild(const char* name, bool declaration = false, int position = -1);
    XmlElement AddChild(XmlString&& name, bool declaration = false, int position = -1);
    // Moves the element here from its former parent, or adopts a top element. An element cannot
    // become its own ancestor: then nothing changes and the empty element is returned.
    XmlElement AddChild(const XmlElement& element, int position = -1);
    const XmlAttribute* AddAttribute(const char* name, const char* value);
    const XmlAttribute* AddAttribute(XmlString&& name, XmlString&& value);
    const char* AddText(const char* text, int position = -1);
    const char* AddText(XmlString&& text, int position = -1);
    // Null tags stand for the CDATA opening and closing.
    const XmlClear* AddClear(const char* text,
                             const char* opening = nullptr,
                             const char* closing = nullptr,
                             int position = -1);
    void SetName(const char* name);

    // Replace the value, and the name when newName is not null. By name, an attribute is added
    // when none has that name; by index, past the end adds one (a name is then needed).
    const XmlAttribute* UpdateAttribute(const char* value, const char* newName, int index);
    const XmlAttribute* UpdateAttribute(const char* value, const char* newName, const char* oldName);
    const XmlAttribute* UpdateAttribute(const char* value,
                                        const char* newName,
                                        const XmlAttribute* attribute);
    // Replace a text; past the end, or when the old text is not found, it is added at the end.
    const char* UpdateText(const char* text, int index);
    const char* UpdateText(const char* text, const char* oldText);
    const XmlClear* UpdateClear(const char* text, int index);
    const XmlClear* UpdateClear(const char* text, const char* oldText);
    const XmlClear* UpdateClear(const char* text, const XmlClear* clear);

    // Return whether the item was there.
    bool DeleteAttribute(int index);
    bool DeleteAttribute(const char* name);
    bool DeleteAttribute(const XmlAttribute* attribute);
    bool DeleteText(int index);
    bool DeleteText(const char* text);
    bool DeleteClear(int index);
    bool DeleteClear(const char* text);
    bool DeleteClear(const XmlClear* clear);

    // Frees the name and the whole content now, of the descendants too, and takes the element
    // from its parent. Handles to it and to its descendants stay valid and see empty, nameless elements.
    void DeleteNodeContent();

private:
    explicit XmlElement(std::shared_ptr<XmlNode> node);

    int FindText(const char* text) const;
    int FindClear(const char* text) const;
    int FindAttribute(const char* name) const;
    int IndexOfAttribute(const XmlAttribute* attribute) const;
    int IndexOfClear(const XmlClear* clear) const;
    const char* InsertText(XmlString&& text, int position);
    const XmlClear* InsertClear(XmlClear&& clear, int position);

    std::shared_ptr<XmlNode> m_node;
};

// One item of an element, as EnumContents gives it: only the member of its type is filled.
struct XmlContents {
    XmlContentType type = XmlContentType::None;
    XmlElement child;
    const XmlAttribute* attribute = nullptr;
    const char* text = nullptr;
    const XmlClear* clear = nullptr;
};
