#pragma once

#include <QString>

#include <cstddef>
#include <functional>
#include <memory>
#include <typeinfo>
#include <utility>

// One item of an endless page sequence, of any value type with equality and a hash. Items of
// different types are never equal. An empty item stands for "none". Copies share the value,
// which never changes, so items may be passed between threads.
class PageItem {
public:
    PageItem() = default;
    template <class T>
    explicit PageItem(T value) : m_value(std::make_shared<const Value<T>>(std::move(value))) {}

    // The value when it is of type T, otherwise null.
    template <class T> const T* as() const {
        const auto* value = dynamic_cast<const Value<T>*>(m_value.get());
        return value ? &value->value : nullptr;
    }
    bool isNone() const { return !m_value; }

    bool operator==(const PageItem& other) const {
        if (!m_value || !other.m_value) {
            return !m_value && !other.m_value;
        }
        return m_value->equals(*other.m_value);
    }
    std::size_t hash() const { return m_value ? m_value->hash() : 0; }

private:
    struct Holder {
        virtual ~Holder() = default;
        virtual bool equals(const Holder& other) const = 0;
        virtual std::size_t hash() const = 0;
    };
    template <class T> struct Value final : Holder {
        explicit Value(T v) : value(std::move(v)) {}
        bool equals(const Holder& other) const override {
            const auto* same = dynamic_cast<const Value<T>*>(&other);
            return same && same->value == value;
        }
        std::size_t hash() const override { return std::hash<T>()(value); }
        T value;
    };

    std::shared_ptr<const Holder> m_value;
};

template <> struct std::hash<PageItem> {
    std::size_t operator()(const PageItem& item) const noexcept { return item.hash(); }
};
