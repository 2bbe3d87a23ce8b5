// The component model: run-time class information with ancestry, published
// properties readable and writable by name, string lists, and components with
// an owner that frees them. Platform-free.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "component/asciicase.h"

class TObject;
class TComponent;
class TClassInfo;

class EPropertyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An event: a handler and, for the stored description, the name of the
// method it was bound from.
template <class Sig>
struct TEvent {
    std::string Name;
    std::function<Sig> Code;

    explicit operator bool() const { return static_cast<bool>(Code); }
    template <class... A>
    void operator()(A&&... args) const {
        if (Code) Code(std::forward<A>(args)...);
    }
};
using TNotifyEvent = TEvent<void(TObject* sender)>;

enum class TTypeKind { Enumeration, Integer, String, Set, StringList, Event, Class };

// One published property. Enumerations (Boolean included: "False", "True")
// and sets speak ordinals through GetOrd/SetOrd, a set as a bit mask of its
// element ordinals. Class and string-list properties hand out their object.
struct TPropInfo {
    std::string Name;
    TTypeKind Kind = TTypeKind::Integer;
    std::string TypeName;                 // "Boolean", "TFontCharset", "TSkinControls"...
    std::vector<std::string> Names;       // enumeration values / set elements by ordinal
    std::optional<std::int64_t> Default;  // ordinal value that is not stored
    std::string DefaultText;              // string value that is not stored
    bool Stored = true;
    std::function<bool(const TObject&)> IsStored;  // when set, decides per object

    std::function<std::int64_t(const TObject&)> GetOrd;
    std::function<void(TObject&, std::int64_t)> SetOrd;
    std::function<std::string(const TObject&)> GetStr;
    std::function<void(TObject&, const std::string&)> SetStr;
    std::function<TObject*(TObject&)> GetObject;
    std::function<std::string(const TObject&)> GetEventName;
    // Binds the event to a method found by name; `code` is the method's
    // std::function (see TComponent::RegisterMethod), empty to clear.
    std::function<void(TObject&, const std::string&, const std::any*)> SetEvent;
};

class TClassInfo {
public:
    using Factory = TComponent* (*)(TComponent* owner);

    TClassInfo(std::string name, const TClassInfo* parent) : name_(std::move(name)), parent_(parent) {}
    TClassInfo(const TClassInfo&) = delete;
    TClassInfo& operator=(const TClassInfo&) = delete;

    const std::string& Name() const { return name_; }
    const TClassInfo* Parent() const { return parent_; }
    bool InheritsFrom(const TClassInfo& other) const;
    bool InheritsFrom(std::string_view className) const;  // case-insensitive
    // Published properties, ancestors' first, in declaration order.
    std::vector<const TPropInfo*> Properties() const;
    const TPropInfo* FindProperty(std::string_view name) const;  // case-insensitive
    Factory Create() const { return create_; }

    // Used while the class is being described.
    TPropInfo& Add(TPropInfo prop) { return own_.emplace_back(std::move(prop)); }
    void SetFactory(Factory f) { create_ = f; }

private:
    std::string name_;
    const TClassInfo* parent_;
    std::vector<TPropInfo> own_;
    Factory create_ = nullptr;
};

// In every class with run-time class information.
#define SRT_DECLARE_CLASS()                              \
public:                                                 \
    static const TClassInfo& StaticClass();             \
    const TClassInfo& ClassType() const override { return StaticClass(); }

class TObject {
public:
    virtual ~TObject() = default;
    static const TClassInfo& StaticClass();
    virtual const TClassInfo& ClassType() const { return StaticClass(); }
    const std::string& ClassName() const { return ClassType().Name(); }
    bool InheritsFrom(std::string_view className) const { return ClassType().InheritsFrom(className); }
    template <class T>
    bool Is() const { return ClassType().InheritsFrom(T::StaticClass()); }
};

template <class T>
T* dyncast(TObject* o) {
    return o && o->Is<T>() ? static_cast<T*>(o) : nullptr;
}

// A property stored as a block of bytes that the object reads and writes
// itself (a packed skin, a picture).
struct TBlockProperty {
    std::string Name;
    std::function<void(std::span<const std::uint8_t>)> Read;
    std::function<std::vector<std::uint8_t>()> Write;
    bool HasData = true;
};

class TPersistent : public TObject {
    SRT_DECLARE_CLASS()
public:
    // Byte-block properties, after the published ones in the stored description.
    virtual void DefineProperties(std::vector<TBlockProperty>& blocks);
    virtual void Assign(const TPersistent& source);
};

class TStrings : public TPersistent {
    SRT_DECLARE_CLASS()
public:
    virtual int Count() const = 0;
    virtual std::string Get(int index) const = 0;
    virtual void Clear() = 0;
    virtual void Add(const std::string& line) = 0;
    // Lines joined by CR LF, each followed by one.
    virtual std::string Text() const;
    // Lines split at CR LF; a final CR LF adds no empty line.
    virtual void SetText(std::string_view text);
    std::vector<std::string> ToVector() const;
    void SetLines(const std::vector<std::string>& lines);
    void Assign(const TPersistent& source) override;
    std::string operator[](int index) const { return Get(index); }
};

class TStringList : public TStrings {
    SRT_DECLARE_CLASS()
public:
    TStringList() = default;
    explicit TStringList(std::vector<std::string> lines) : lines_(std::move(lines)) {}
    int Count() const override { return static_cast<int>(lines_.size()); }
    std::string Get(int index) const override { return lines_.at(index); }
    void Clear() override { lines_.clear(); }
    void Add(const std::string& line) override { lines_.push_back(line); }
    const std::vector<std::string>& Lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
};

// Splits at CR LF only; a final CR LF adds no empty line.
std::vector<std::string> SplitCRLF(std::string_view text);

enum TComponentStateFlag : std::uint32_t {
    csLoading = 1,
    csReading = 2,
    csDesigning = 4,
    csDestroying = 8,
};

enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
    SRT_DECLARE_CLASS()
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(index); }
    TComponent* FindComponent(std::string_view name) const;  // case-insensitive
    template <class T>
    T* FindComponentAs(std::string_view name) const { return dyncast<T>(FindComponent(name)); }

    const std::string& Name() const { return name_; }
    std::string NameValue() const { return name_; }
    // Throws EPropertyError for a name that is not an identifier or that
    // another component of the same owner already has.
    void SetName(const std::string& name);
    std::int32_t Tag() const { return tag_; }
    void SetTag(std::int32_t tag) { tag_ = tag; }

    std::uint32_t ComponentState() const { return state_; }
    bool InState(TComponentStateFlag f) const { return (state_ & f) != 0; }
    void SetDesigning(bool on);
    // Called by the reader before the first property is set.
    void BeginLoading() { state_ |= csLoading | csReading; }
    void EndReading() { state_ &= ~csReading; }

    // After the whole stored description has been read; clears csLoading.
    virtual void Loaded();
    // `component` is being inserted into or removed from this component's
    // owner (or this component itself).
    virtual void Notification(TComponent* component, TOperation operation);

    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    // Frees the owned components, last first.
    void DestroyComponents();

    // The reader places a child under the object it was stored in; the
    // writer stores a component under its parent component (controls).
    virtual void SetParentComponent(TComponent* parent) { (void)parent; }
    virtual TComponent* ParentComponent() const { return nullptr; }

    // Methods that event properties of the stored description bind to by
    // name: `code` is a std::function of the event's signature.
    void RegisterMethod(const std::string& name, std::any code) { methods_[name] = std::move(code); }
    const std::any* FindMethod(const std::string& name) const;

protected:
    void Destroying() { state_ |= csDestroying; }

private:
    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::string name_;
    std::int32_t tag_ = 0;
    std::uint32_t state_ = 0;
    std::map<std::string, std::any> methods_;
};

// Describing classes: `DefineClass<TButton, TButtonControl>("TButton", fn)`
// with fn(TClassBuilder<TButton>&) adding the published properties.
template <class C>
class TClassBuilder {
public:
    explicit TClassBuilder(TClassInfo& info) : info_(info) {}

    TPropInfo& Integer(std::string name, std::int32_t (C::*get)() const, void (C::*set)(std::int32_t),
                       std::optional<std::int64_t> def = std::nullopt) {
        TPropInfo p = Ord(std::move(name), TTypeKind::Integer, "Integer", get, set);
        p.Default = def;
        return info_.Add(std::move(p));
    }
    TPropInfo& Boolean(std::string name, bool (C::*get)() const, void (C::*set)(bool),
                       std::optional<bool> def = std::nullopt) {
        TPropInfo p = Ord(std::move(name), TTypeKind::Enumeration, "Boolean", get, set);
        p.Names = {"False", "True"};
        if (def) p.Default = *def ? 1 : 0;
        return info_.Add(std::move(p));
    }
    template <class B, class E>
    TPropInfo& Enum(std::string name, std::string type, std::vector<std::string> names, E (B::*get)() const,
                    std::type_identity_t<void (B::*)(E)> set, std::type_identity_t<std::optional<E>> def = std::nullopt) {
        static_assert(std::is_base_of_v<B, C>);
        TPropInfo p = Ord(std::move(name), TTypeKind::Enumeration, std::move(type), get, set);
        p.Names = std::move(names);
        if (def) p.Default = static_cast<std::int64_t>(*def);
        return info_.Add(std::move(p));
    }
    TPropInfo& Set(std::string name, std::string type, std::vector<std::string> names, std::uint32_t (C::*get)() const,
                   void (C::*set)(std::uint32_t), std::optional<std::uint32_t> def = std::nullopt) {
        TPropInfo p = Ord(std::move(name), TTypeKind::Set, std::move(type), get, set);
        p.Names = std::move(names);
        if (def) p.Default = *def;
        return info_.Add(std::move(p));
    }
    TPropInfo& String(std::string name, std::string (C::*get)() const, void (C::*set)(const std::string&),
                      std::string def = {}) {
        TPropInfo p;
        p.DefaultText = std::move(def);
        p.Name = std::move(name);
        p.Kind = TTypeKind::String;
        p.TypeName = "string";
        p.GetStr = [get](const TObject& o) { return (static_cast<const C&>(o).*get)(); };
        p.SetStr = [set](TObject& o, const std::string& v) { (static_cast<C&>(o).*set)(v); };
        return info_.Add(std::move(p));
    }
    template <class B, class T>
    TPropInfo& Object(std::string name, T* (B::*get)()) {
        static_assert(std::is_base_of_v<B, C>);
        TPropInfo p;
        p.Name = std::move(name);
        p.Kind = std::is_base_of_v<TStrings, T> ? TTypeKind::StringList : TTypeKind::Class;
        p.TypeName = T::StaticClass().Name();
        p.GetObject = [get](TObject& o) -> TObject* { return (static_cast<C&>(o).*get)(); };
        return info_.Add(std::move(p));
    }
    template <class B, class Sig>
    TPropInfo& Event(std::string name, TEvent<Sig> B::*field) {
        static_assert(std::is_base_of_v<B, C>);
        TPropInfo p;
        p.Name = std::move(name);
        p.Kind = TTypeKind::Event;
        p.TypeName = "event";
        p.GetEventName = [field](const TObject& o) { return (static_cast<const C&>(o).*field).Name; };
        p.SetEvent = [field](TObject& o, const std::string& method, const std::any* code) {
            TEvent<Sig>& e = static_cast<C&>(o).*field;
            if (!code) {
                e = {};
                return;
            }
            const auto* fn = std::any_cast<std::function<Sig>>(code);
            if (!fn) throw EPropertyError("method '" + method + "' does not fit event " + o.ClassName());
            e.Name = method;
            e.Code = *fn;
        };
        return info_.Add(std::move(p));
    }

private:
    template <class B, class V>
    static TPropInfo Ord(std::string name, TTypeKind kind, std::string type, V (B::*get)() const,
                         void (B::*set)(V)) {
        TPropInfo p;
        p.Name = std::move(name);
        p.Kind = kind;
        p.TypeName = std::move(type);
        p.GetOrd = [get](const TObject& o) { return static_cast<std::int64_t>((static_cast<const C&>(o).*get)()); };
        if (set)  // read-only without one
            p.SetOrd = [set](TObject& o, std::int64_t v) { (static_cast<C&>(o).*set)(static_cast<V>(v)); };
        return p;
    }
    TClassInfo& info_;
};

template <class C, class Parent, class Fn>
std::unique_ptr<TClassInfo> DefineClass(std::string name, Fn&& describe) {
    auto info = std::make_unique<TClassInfo>(std::move(name), &Parent::StaticClass());
    if constexpr (std::is_base_of_v<TComponent, C> && !std::is_abstract_v<C> &&
                  std::is_constructible_v<C, TComponent*>) {
        info->SetFactory([](TComponent* owner) -> TComponent* { return new C(owner); });
    }
    TClassBuilder<C> builder(*info);
    describe(builder);
    return info;
}

// Defines C::StaticClass(): SRT_DEFINE_CLASS(TButton, TButtonControl, { b.Boolean(...); })
#define SRT_DEFINE_CLASS(C, Parent, ...)                                                         \
    const TClassInfo& C::StaticClass() {                                                         \
        static const std::unique_ptr<TClassInfo> info =                                           \
            DefineClass<C, Parent>(#C, [](TClassBuilder<C>& b) { (void)b; __VA_ARGS__ });        \
        return *info;                                                                            \
    }

// Classes the reader may create, by name.
class TClassRegistry {
public:
    void Register(const TClassInfo& info) { classes_[Upper(info.Name())] = &info; }
    template <class... T>
    void Register() { (Register(T::StaticClass()), ...); }
    const TClassInfo* Find(std::string_view name) const;

private:
    static std::string Upper(std::string_view s);
    std::map<std::string, const TClassInfo*> classes_;
};

// Property access by name. A dotted name reaches into class properties
// ("Font.Name"). All throw EPropertyError for an unknown property or value.
const TPropInfo& GetPropInfo(const TObject& object, std::string_view name);
std::int64_t GetOrdProp(TObject& object, std::string_view name);
void SetOrdProp(TObject& object, std::string_view name, std::int64_t value);
std::string GetEnumProp(TObject& object, std::string_view name);
void SetEnumProp(TObject& object, std::string_view name, std::string_view value);  // value by name, any case
std::vector<std::string> GetSetProp(TObject& object, std::string_view name);
void SetSetProp(TObject& object, std::string_view name, const std::vector<std::string>& elements);
std::string GetStrProp(TObject& object, std::string_view name);
void SetStrProp(TObject& object, std::string_view name, const std::string& value);
TObject* GetObjectProp(TObject& object, std::string_view name);
bool IsPublishedProp(const TObject& object, std::string_view name);
// Resolves "A.B.C" to the object holding C and C's information.
std::pair<TObject*, const TPropInfo*> ResolveProp(TObject& object, std::string_view path);

