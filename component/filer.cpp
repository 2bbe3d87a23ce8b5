#include "component/filer.h"

#include <string>

namespace {

std::string Path(const TComponent& c) {
    return c.Name().empty() ? c.ClassName() : c.Name();
}

// The byte block `name` of `object`, or null.
bool ReadBlock(TObject& object, std::string_view name, const TStoredValue& value) {
    auto* persistent = dynamic_cast<TPersistent*>(&object);
    if (!persistent) return false;
    std::vector<TBlockProperty> blocks;
    persistent->DefineProperties(blocks);
    for (auto& b : blocks) {
        if (!SameText(b.Name, name)) continue;
        if (value.type != TStoredValue::Type::Bytes) throw EPropertyError("Property " + b.Name + " is a byte block");
        if (b.Read) b.Read(value.bytes);
        return true;
    }
    return false;
}

void SetProperty(TComponent& root, TComponent& component, const TStoredProperty& sp) {
    using T = TStoredValue::Type;
    const TStoredValue& v = sp.value;
    // A byte block: the longest object prefix, then the block's name.
    std::string_view path = sp.name;
    std::size_t dot = path.rfind('.');
    TObject* holder = &component;
    std::string_view leaf = path;
    if (dot != std::string_view::npos) {
        auto [o, info] = ResolveProp(component, path.substr(0, dot));
        if (info->Kind == TTypeKind::Class) {
            holder = info->GetObject(*o);
            leaf = path.substr(dot + 1);
        }
    }
    if (holder && !holder->ClassType().FindProperty(leaf) && ReadBlock(*holder, leaf, v)) return;

    auto [o, p] = ResolveProp(component, path);
    auto want = [&](T t) {
        if (v.type != t) throw EPropertyError("Invalid property value");
    };
    switch (p->Kind) {
    case TTypeKind::Integer:
        want(T::Integer);
        p->SetOrd(*o, v.integer);
        break;
    case TTypeKind::Enumeration:
        want(T::Ident);
        SetEnumProp(*o, p->Name, v.text);
        break;
    case TTypeKind::Set:
        want(T::Set);
        SetSetProp(*o, p->Name, v.items);
        break;
    case TTypeKind::String:
        want(T::String);
        p->SetStr(*o, v.text);
        break;
    case TTypeKind::StringList: {
        want(T::List);
        auto* list = dynamic_cast<TStrings*>(p->GetObject(*o));
        if (!list) throw EPropertyError("Property " + p->Name + " is not assigned");
        list->SetLines(v.items);
        break;
    }
    case TTypeKind::Event: {
        want(T::Ident);
        const std::any* code = root.FindMethod(v.text);
        if (!code) throw EPropertyError("Method " + v.text + " does not exist in " + Path(root));
        p->SetEvent(*o, v.text, code);
        break;
    }
    case TTypeKind::Class: throw EPropertyError("Property " + p->Name + " takes its sub-properties");
    }
}

void ReadInto(TComponent& root, TComponent& component, const TStoredObject& stored, const TClassRegistry& classes,
              std::vector<TComponent*>& read) {
    component.BeginLoading();
    read.push_back(&component);
    for (const auto& sp : stored.properties) {
        try {
            SetProperty(root, component, sp);
        } catch (const EPropertyError& e) {
            throw EReadError("Error reading " + Path(component) + "." + sp.name + ": " + e.what());
        }
    }
    for (const auto& child : stored.children) {
        const TClassInfo* info = classes.Find(child.className);
        if (!info || !info->Create()) throw EReadError("Class " + child.className + " not found");
        TComponent* c = info->Create()(&root);
        try {
            c->SetName(child.name);
        } catch (const EPropertyError& e) {
            delete c;
            throw EReadError(e.what());
        }
        c->SetParentComponent(&component);
        ReadInto(root, *c, child, classes, read);
    }
}

// Ordinal and string values of `object` with `prefix`, recursing into class properties.
void WriteProperties(TObject& object, const std::string& prefix, std::vector<TStoredProperty>& out) {
    for (const TPropInfo* p : object.ClassType().Properties()) {
        if (!p->Stored) continue;
        if (p->IsStored && !p->IsStored(object)) continue;
        std::string name = prefix + p->Name;
        switch (p->Kind) {
        case TTypeKind::Integer: {
            std::int64_t v = p->GetOrd(object);
            if (!p->Default || *p->Default != v) out.push_back({name, TStoredValue::Int(static_cast<std::int32_t>(v))});
            break;
        }
        case TTypeKind::Enumeration: {
            std::int64_t v = p->GetOrd(object);
            if (p->Default && *p->Default == v) break;
            if (v < 0 || v >= static_cast<std::int64_t>(p->Names.size())) break;
            out.push_back({name, TStoredValue::Ident(p->Names[static_cast<std::size_t>(v)])});
            break;
        }
        case TTypeKind::Set: {
            std::int64_t v = p->GetOrd(object);
            if (p->Default && *p->Default == v) break;
            std::vector<std::string> items;
            for (std::size_t i = 0; i < p->Names.size() && i < 64; ++i)
                if (static_cast<std::uint64_t>(v) & (std::uint64_t{1} << i)) items.push_back(p->Names[i]);
            out.push_back({name, TStoredValue::SetOf(std::move(items))});
            break;
        }
        case TTypeKind::String: {
            std::string v = p->GetStr(object);
            if (v != p->DefaultText) out.push_back({name, TStoredValue::Str(std::move(v))});
            break;
        }
        case TTypeKind::StringList: {
            auto* list = dynamic_cast<TStrings*>(p->GetObject(object));
            if (list && list->Count() > 0) out.push_back({name, TStoredValue::List(list->ToVector())});
            break;
        }
        case TTypeKind::Event: {
            std::string v = p->GetEventName(object);
            if (!v.empty()) out.push_back({name, TStoredValue::Ident(std::move(v))});
            break;
        }
        case TTypeKind::Class:
            if (TObject* sub = p->GetObject(object)) {
                WriteProperties(*sub, name + ".", out);
                if (auto* persistent = dynamic_cast<TPersistent*>(sub)) {
                    std::vector<TBlockProperty> blocks;
                    persistent->DefineProperties(blocks);
                    for (auto& b : blocks)
                        if (b.HasData && b.Write) out.push_back({name + "." + b.Name, TStoredValue::Block(b.Write())});
                }
            }
            break;
        }
    }
}

TStoredObject WriteObject(TComponent& root, TComponent& component) {
    TStoredObject o;
    o.className = component.ClassName();
    o.name = component.Name();
    WriteProperties(component, "", o.properties);
    std::vector<TBlockProperty> blocks;
    component.DefineProperties(blocks);
    for (auto& b : blocks)
        if (b.HasData && b.Write) o.properties.push_back({b.Name, TStoredValue::Block(b.Write())});
    for (int i = 0; i < root.ComponentCount(); ++i) {
        TComponent* c = root.Components(i);
        TComponent* parent = c->ParentComponent();
        bool here = &component == &root ? (parent == nullptr || parent == &root) : parent == &component;
        if (here) o.children.push_back(WriteObject(root, *c));
    }
    return o;
}

}  // namespace

void ReadComponent(TComponent& root, const TStoredObject& stored, const TClassRegistry& classes) {
    if (!root.ClassType().InheritsFrom(stored.className))
        throw EReadError("stored description of a " + stored.className + " read into a " + root.ClassName());
    std::vector<TComponent*> read;
    try {
        root.SetName(stored.name);
    } catch (const EPropertyError& e) {
        throw EReadError(e.what());
    }
    ReadInto(root, root, stored, classes, read);
    for (TComponent* c : read) c->EndReading();
    for (TComponent* c : read) c->Loaded();
}

void ReadComponent(TComponent& root, const std::vector<std::uint8_t>& bytes, const TClassRegistry& classes) {
    ReadComponent(root, ReadStoredObject(bytes), classes);
}

TStoredObject WriteComponent(TComponent& root) { return WriteObject(root, root); }

std::vector<std::uint8_t> WriteComponentBytes(TComponent& root) { return WriteStoredObject(WriteComponent(root)); }
