#include "component/classes.h"

#include <algorithm>
#include <cctype>

#include "component/crlf.h"

// ---- class information ------------------------------------------------------

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        if (c == &other) return true;
    return false;
}

bool TClassInfo::InheritsFrom(std::string_view className) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        if (SameText(c->name_, className)) return true;
    return false;
}

std::vector<const TPropInfo*> TClassInfo::Properties() const {
    std::vector<const TPropInfo*> out;
    if (parent_) out = parent_->Properties();
    for (const auto& p : own_) out.push_back(&p);
    return out;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        for (const auto& p : c->own_)
            if (SameText(p.Name, name)) return &p;
    return nullptr;
}

const TClassInfo& TObject::StaticClass() {
    static const TClassInfo info("TObject", nullptr);
    return info;
}

std::string TClassRegistry::Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

const TClassInfo* TClassRegistry::Find(std::string_view name) const {
    auto it = classes_.find(Upper(name));
    return it == classes_.end() ? nullptr : it->second;
}

// ---- persistent objects and string lists -----------------------------------

SRT_DEFINE_CLASS(TPersistent, TObject, )

void TPersistent::DefineProperties(std::vector<TBlockProperty>&) {}

void TPersistent::Assign(const TPersistent& source) {
    throw EPropertyError("cannot assign a " + source.ClassName() + " to a " + ClassName());
}

SRT_DEFINE_CLASS(TStrings, TPersistent, )
SRT_DEFINE_CLASS(TStringList, TStrings, )

std::vector<std::string> SplitCRLF(std::string_view text) {
    const std::vector<std::string_view> lines = srt::SplitCrLfLines(text);
    return {lines.begin(), lines.end()};
}

std::string TStrings::Text() const {
    std::string out;
    for (int i = 0, n = Count(); i < n; ++i) {
        out += Get(i);
        out += "\r\n";
    }
    return out;
}

void TStrings::SetText(std::string_view text) { SetLines(SplitCRLF(text)); }

std::vector<std::string> TStrings::ToVector() const {
    std::vector<std::string> out;
    for (int i = 0, n = Count(); i < n; ++i) out.push_back(Get(i));
    return out;
}

void TStrings::SetLines(const std::vector<std::string>& lines) {
    Clear();
    for (const auto& l : lines) Add(l);
}

void TStrings::Assign(const TPersistent& source) {
    if (auto* s = dynamic_cast<const TStrings*>(&source)) {
        if (s != this) SetLines(s->ToVector());
        return;
    }
    TPersistent::Assign(source);
}

// ---- components --------------------------------------------------------------

SRT_DEFINE_CLASS(TComponent, TPersistent, {
    b.String("Name", &TComponent::NameValue, &TComponent::SetName).Stored = false;
    b.Integer("Tag", &TComponent::Tag, &TComponent::SetTag, 0);
})

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    state_ |= csDestroying;
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::InsertComponent(TComponent* component) {
    if (component->owner_) component->owner_->RemoveComponent(component);
    components_.push_back(component);
    component->owner_ = this;
    Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    auto it = std::find(components_.begin(), components_.end(), component);
    if (it == components_.end()) return;
    // Everyone that may hold a reference hears of it before it goes.
    Notification(component, TOperation::opRemove);
    it = std::find(components_.begin(), components_.end(), component);
    if (it != components_.end()) components_.erase(it);
    component->owner_ = nullptr;
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove && !InState(csDestroying)) {
        for (TComponent* c : std::vector<TComponent*>(components_))
            if (c != component) c->Notification(component, operation);
    }
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* last = components_.back();
        last->state_ |= csDestroying;
        RemoveComponent(last);
        delete last;
    }
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->name_, name)) return c;
    return nullptr;
}

void TComponent::SetName(const std::string& name) {
    if (name == name_) return;
    if (!name.empty()) {
        bool ok = std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_';
        for (char c : name) ok = ok && (std::isalnum(static_cast<unsigned char>(c)) || c == '_');
        if (!ok) throw EPropertyError("'" + name + "' is not a valid component name");
        if (owner_) {
            TComponent* other = owner_->FindComponent(name);
            if (other && other != this)
                throw EPropertyError("A component named " + name + " already exists");
        }
    }
    name_ = name;
}

void TComponent::SetDesigning(bool on) {
    if (on)
        state_ |= csDesigning;
    else
        state_ &= ~csDesigning;
}

void TComponent::Loaded() { state_ &= ~csLoading; }

const std::any* TComponent::FindMethod(const std::string& name) const {
    auto it = methods_.find(name);
    return it == methods_.end() ? nullptr : &it->second;
}

// ---- property access by name -----------------------------------------------

std::pair<TObject*, const TPropInfo*> ResolveProp(TObject& object, std::string_view path) {
    TObject* target = &object;
    for (;;) {
        std::size_t dot = path.find('.');
        std::string_view head = path.substr(0, dot);
        const TPropInfo* info = target->ClassType().FindProperty(head);
        if (!info)
            throw EPropertyError("Property " + std::string(head) + " does not exist in " + target->ClassName());
        if (dot == std::string_view::npos) return {target, info};
        if (info->Kind != TTypeKind::Class)
            throw EPropertyError("Property " + std::string(head) + " of " + target->ClassName() + " is no object");
        target = info->GetObject(*target);
        if (!target) throw EPropertyError("Property " + std::string(head) + " is not assigned");
        path = path.substr(dot + 1);
    }
}

const TPropInfo& GetPropInfo(const TObject& object, std::string_view name) {
    return *ResolveProp(const_cast<TObject&>(object), name).second;
}

bool IsPublishedProp(const TObject& object, std::string_view name) {
    try {
        GetPropInfo(object, name);
        return true;
    } catch (const EPropertyError&) {
        return false;
    }
}

namespace {
void RequireKind(const TPropInfo& p, std::initializer_list<TTypeKind> kinds) {
    for (TTypeKind k : kinds)
        if (p.Kind == k) return;
    throw EPropertyError("Property " + p.Name + " is of another kind");
}
}  // namespace

std::int64_t GetOrdProp(TObject& object, std::string_view name) {
    auto [o, p] = ResolveProp(object, name);
    RequireKind(*p, {TTypeKind::Integer, TTypeKind::Enumeration, TTypeKind::Set});
    return p->GetOrd(*o);
}

void SetOrdProp(TObject& object, std::string_view name, std::int64_t value) {
    auto [o, p] = ResolveProp(object, name);
    RequireKind(*p, {TTypeKind::Integer, TTypeKind::Enumeration, TTypeKind::Set});
    if (p->Kind == TTypeKind::Enumeration && (value < 0 || value >= static_cast<std::int64_t>(p->Names.size())))
        throw EPropertyError("Invalid property value");
    p->SetOrd(*o, value);
}

std::string GetEnumProp(TObject& object, std::string_view name) {
    auto [o, p] = ResolveProp(object, name);
    RequireKind(*p, {TTypeKind::Enumeration});
    std::int64_t v = p->GetOrd(*o);
    if (v < 0 || v >= static_cast<std::int64_t>(p->Names.size())) return std::to_string(v);
    return p->Names[static_cast<std::size_t>(v)];
}

void SetEnumProp(TObject& object, std::string_view name, std::string_view value) {
    auto [o, p] = ResolveProp(object, name);
    RequireKind(*p, {TTypeKind::Enumeration});
    for (std::size_t i = 0; i < p->Names.size(); ++i) {
        if (SameText(p->Names[i], value)) {
            p->SetOrd(*o, static_cast<std::int64_t>(i));
            return;
        }
    }
    throw EPropertyError("Invalid property value " + std::string(value) + " for " + p->Name);
}

std::vector<std::string> GetSetProp(TObject& object, std::string_view name) {
    auto [o, p] = ResolveProp(object, name);
    RequireKind(*p, {TTypeKind::Set});
    auto mask = static_cast<std::uint64_t>(p->GetOrd(*o));
    std::vector<std::string> out;
    for (std::size_t i = 0; i < p->Names.size() && i < 64; ++i)
        if (mask & (std::uint64_t{1} << i)) out.push_back(p->Names[i]);
    return out;
}

void SetSetProp(TObject& object, std::string_view name, const std::vector<std::string>& elements) {
    auto [o, p] = ResolveProp(object, name);
    RequireKind(*p, {TTypeKind::Set});
    std::uint64_t mask = 0;
    for (const auto& e : elements) {
        std::size_t i = 0;
        while (i < p->Names.size() && !SameText(p->Names[i], e)) ++i;
        if (i == p->Names.size()) throw EPropertyError("Invalid set element " + e + " for " + p->Name);
        mask |= std::uint64_t{1} << i;
    }
    p->SetOrd(*o, static_cast<std::int64_t>(mask));
}

std::string GetStrProp(TObject& object, std::string_view name) {
    auto [o, p] = ResolveProp(object, name);
    RequireKind(*p, {TTypeKind::String});
    return p->GetStr(*o);
}

void SetStrProp(TObject& object, std::string_view name, const std::string& value) {
    auto [o, p] = ResolveProp(object, name);
    RequireKind(*p, {TTypeKind::String});
    p->SetStr(*o, value);
}

TObject* GetObjectProp(TObject& object, std::string_view name) {
    auto [o, p] = ResolveProp(object, name);
    RequireKind(*p, {TTypeKind::Class, TTypeKind::StringList});
    return p->GetObject(*o);
}
