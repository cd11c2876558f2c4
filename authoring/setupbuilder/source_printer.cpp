// Laying out the draft as source: header directives, then the statement tree
// rebuilt from the include records.

#include "authoring/setupbuilder/source_printer.h"

#include <memory>

#include "common/numbers.h"
#include "common/text.h"

namespace pellion::authoring {

namespace {

struct Node {
    const DraftStatement* statement = nullptr;  // else an include
    const DraftInclude* include = nullptr;
    std::vector<std::unique_ptr<Node>> children;
};

// Places each statement under the include records in force where it stands:
// include records open at their first statement, in the order they were
// written, and an include closes when a statement or a later include is
// shallower. False when the records and the statements' depths disagree.
bool buildTree(const PackageDraft& draft, Node& root)
{
    std::vector<Node*> open{&root};  // open.size() - 1 is the current depth
    size_t next = 0;
    for (size_t at = 0; at <= draft.statements.size(); ++at) {
        while (next < draft.includes.size() && draft.includes[next].firstStatement == at) {
            const DraftInclude& include = draft.includes[next++];
            if (include.depth < 1 || static_cast<size_t>(include.depth) > open.size())
                return false;
            open.resize(static_cast<size_t>(include.depth));
            auto node = std::make_unique<Node>();
            node->include = &include;
            Node* placed = node.get();
            open.back()->children.push_back(std::move(node));
            open.push_back(placed);
        }
        if (next < draft.includes.size() && draft.includes[next].firstStatement < at)
            return false;
        if (at == draft.statements.size())
            break;
        const DraftStatement& statement = draft.statements[at];
        if (statement.includeDepth < 0 || static_cast<size_t>(statement.includeDepth) + 1 > open.size())
            return false;
        open.resize(static_cast<size_t>(statement.includeDepth) + 1);
        auto node = std::make_unique<Node>();
        node->statement = &statement;
        open.back()->children.push_back(std::move(node));
    }
    return next == draft.includes.size();
}

class Printer {
public:
    void directive(const char* keyword, std::u16string_view value)
    {
        out_ += "@";
        out_ += keyword;
        out_ += " |" + toUtf8(value) + "\n";
    }

    void node(const Node& node, int indent)
    {
        const std::string pad(static_cast<size_t>(indent) * 2, ' ');
        if (node.include) {
            out_ += pad + "@begin-include |" + toUtf8(node.include->file) + "\n";
            if (!node.include->result.empty())
                out_ += pad + "  |" + toUtf8(node.include->result) + "\n";
            out_ += pad + "  @id |" + toUtf8(node.include->id) + "\n";
            for (const auto& child : node.children)
                this->node(*child, indent + 1);
            out_ += pad + "@end-include\n";
            return;
        }
        statement(*node.statement, pad);
    }

    void statement(const DraftStatement& statement, const std::string& pad)
    {
        if (canStandAlone(statement.name)) {
            out_ += pad + (statement.disabled ? "[disabled] " : "") + toUtf8(statement.name) + "\n";
        } else {
            out_ += pad + "@command |" + toUtf8(statement.name) + "\n";
            if (statement.disabled)
                out_ += pad + "  @disabled\n";
        }
        out_ += pad + "  @id |" + toUtf8(statement.id) + "\n";
        if (!statement.mediaFolder.empty())
            out_ += pad + "  @media-folder |" + toUtf8(statement.mediaFolder) + "\n";
        for (const auto& param : statement.params)
            out_ += pad + "  |" + toUtf8(param) + "\n";
    }

    void text(const std::string& text) { out_ += text; }
    std::string take() { return std::move(out_); }

private:
    // A name written bare is read back trimmed and must not look like another
    // kind of line.
    static bool canStandAlone(std::u16string_view name)
    {
        if (name.empty())
            return false;
        const char16_t first = name.front();
        const char16_t last = name.back();
        if (first == u' ' || first == u'\t' || last == u' ' || last == u'\t')
            return false;
        return first != u'#' && first != u'|' && first != u'@' && first != u'[';
    }

    std::string out_;
};

}  // namespace

std::string printSource(const PackageDraft& draft, std::vector<std::string>& warnings)
{
    Printer printer;
    const auto& header = draft.header;
    printer.text("# Script source of a setup package, printed by setupbuilder.\n");
    if (!draft.sourceName.empty())
        printer.directive("source-name", draft.sourceName);
    printer.directive("product-code", header.productCode);
    printer.directive("title", header.title);
    printer.directive("publisher", header.publisher);
    printer.directive("contact", header.contact);
    printer.directive("help-link", header.helpLink);
    printer.directive("update-link", header.updateInfoLink);
    printer.directive("comments", header.comments);
    printer.directive("version", header.productVersion);
    printer.directive("media-mode", formatInt(header.mediaMode));
    printer.directive("revision-code", header.revisionCode);
    printer.directive("language-selection", header.languageSelection ? u"TRUE" : u"FALSE");
    printer.directive("default-language", header.defaultLanguage);
    printer.directive("code-page", formatInt(header.codePage));
    for (const auto& command : header.pluginCommands)
        printer.directive("plugin-command", command);
    for (const auto& [name, value] : header.compilerVariables)
        printer.text("@compiler-variable |" + toUtf8(name) + "\n  |" + toUtf8(value) + "\n");
    for (const auto& [component, size] : header.componentSizes)
        printer.text("@component-size |" + toUtf8(component) + "\n  |" + toUtf8(formatInt(size)) + "\n");
    printer.text("\n");

    Node root;
    if (!buildTree(draft, root)) {
        warnings.push_back("the include records do not fit the statements; statements printed without includes");
        root.children.clear();
        for (const auto& statement : draft.statements) {
            auto node = std::make_unique<Node>();
            node->statement = &statement;
            root.children.push_back(std::move(node));
        }
    }
    for (const auto& child : root.children)
        printer.node(*child, 0);
    return printer.take();
}

}  // namespace pellion::authoring
