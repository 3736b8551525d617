#pragma once

#include <concepts>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

// A condition or action of a rule together with the parent fields it reads, by name pattern. A
// record's parents are what its conditions and actions read, so each of them says so itself: a
// callable that has a Reads() of its own (the parent tests, the and/or combinations) brings its
// names along, any other one reads no parent unless it is given names.
template <class Signature> class CReadingFunction;

// Rules are copied from row to record to combination many times while the table is built, and
// every field holds its record's: a copy shares the callable and its names instead of copying them.
template <class R, class Arg> class CReadingFunction<R(Arg)> {
public:
    using Names = std::vector<std::wstring>;

    CReadingFunction() = default;
    CReadingFunction(std::nullptr_t) {}

    template <class F>
    requires(!std::same_as<std::remove_cvref_t<F>, CReadingFunction> && std::is_invocable_r_v<R, F&, Arg>)
        CReadingFunction(F callable) {
        auto made = std::make_shared<SCallable<F>>(std::move(callable));
        if constexpr (requires { made->callable.Reads(); }) {
            // Taken over, not copied again: the table is built at every start.
            auto names = made->callable.Reads();
            for (auto& name : names) {
                AddReadTo(made->reads, std::move(name));
            }
        }
        impl_ = std::move(made);
    }

    // A plain function with the words that say what it is (text that lives as long as the
    // program, as a literal does) and the names it reads.
    template <class F>
    requires std::is_invocable_r_v<R, F&, Arg> CReadingFunction(const wchar_t* words, Names reads, F callable)
        : CReadingFunction(std::move(reads), std::move(callable)) {
        impl_->words = words;
    }

    template <class F>
    requires std::is_invocable_r_v<R, F&, Arg> CReadingFunction(Names reads, F callable) {
        auto made = std::make_shared<SCallable<F>>(std::move(callable));
        for (std::wstring& name : reads) {
            AddReadTo(made->reads, std::move(name));
        }
        impl_ = std::move(made);
    }

    // An empty rule called is a fault of the table, reported as an empty std::function's call is.
    R operator()(Arg arg) const {
        if (!impl_) {
            throw std::bad_function_call();
        }
        return impl_->Call(std::forward<Arg>(arg));
    }
    explicit operator bool() const noexcept { return static_cast<bool>(impl_); }

    // The parents read, each once, in the order they were first named.
    const Names& Reads() const { return impl_ ? impl_->reads : NoNames(); }
    // What the condition or action is, in words a user reads ("`USB_PD_Support` is YES"); empty when
    // it has none. Composed conditions join their parts' words as they join their parts. Made when
    // asked: the rules are built at every start, their words only read when a question is explained.
    std::wstring Words() const { return impl_ ? impl_->Words() : std::wstring(); }

    // Adds the names `other` reads that are not read yet; copies shared with this one keep theirs.
    template <class Other> void AddReadsOf(const Other& other) {
        if (!impl_) {
            return;
        }
        if (impl_.use_count() > 1) {
            impl_ = impl_->Copy();
        }
        for (const std::wstring& name : other.Reads()) {
            AddReadTo(impl_->reads, name);
        }
    }

private:
    struct SImpl {
        virtual ~SImpl() = default;
        virtual R Call(Arg arg) const = 0;
        virtual std::shared_ptr<SImpl> Copy() const = 0;
        virtual std::wstring Words() const { return words ? std::wstring(words) : std::wstring(); }
        Names reads;
        const wchar_t* words = nullptr;
    };
    template <class F> struct SCallable final : SImpl {
        explicit SCallable(F f) : callable(std::move(f)) {}
        R Call(Arg arg) const override { return callable(std::forward<Arg>(arg)); }
        // Words given with the callable come first; otherwise the callable's own, if it has any.
        std::wstring Words() const override {
            if constexpr (requires { callable.Words(); }) {
                if (!this->words) {
                    return callable.Words();
                }
            }
            return SImpl::Words();
        }
        std::shared_ptr<SImpl> Copy() const override { return std::make_shared<SCallable>(*this); }
        // A callable may keep state between calls, as a std::function's may.
        mutable F callable;
    };

    static const Names& NoNames() {
        static const Names none;
        return none;
    }
    static void AddReadTo(Names& reads, std::wstring name) {
        for (const std::wstring& read : reads) {
            if (read == name) {
                return;
            }
        }
        reads.push_back(std::move(name));
    }

    std::shared_ptr<SImpl> impl_;
};
