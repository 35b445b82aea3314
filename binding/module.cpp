// The native module `_ostrel_feature_store`: the FeatureStore class over the store,
// written against the CPython stable ABI only, so one abi3 build loads in 3.11 and later.

// The build may already pass the same value on the command line (spelled in lower case).
#ifndef Py_LIMITED_API
#define Py_LIMITED_API 0x030B0000
#endif
#if Py_LIMITED_API != 0x030B0000
#error "the module targets the 3.11 stable ABI"
#endif
#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <atomic>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "store/store.hpp"

namespace {

using ostrel::store::Store;

constexpr const char* NATIVE_TYPE_NAME = "_ostrel_feature_store::PyFeatureStore";

constexpr const char* MODULE_DOC = "The native module (`ostrel_feature_store._ostrel_feature_store`).";

constexpr const char* CLASS_DOC =
    "FeatureStore(spec_json)\n--\n\n"
    "A feature store driven by JSON commands.\n\n"
    "`unsendable`: the store holds a streaming universe of stateful indicator\n"
    "evaluators, so a handle is bound to the thread that created it.";

constexpr const char* COMMAND_DOC =
    "command($self, cmd_json)\n--\n\nApply a command JSON and return the resulting response JSON.";

constexpr const char* VERSION_DOC = "version()\n--\n\nThe library version.";

constexpr const char* FAULT_DOC =
    "An internal fault of the feature store, or a store used from a thread other than the\n"
    "one that created it. Derived from BaseException so that `except Exception` lets it pass.";

// Both live for the whole process: every module object shares them.
PyObject* feature_store_type = nullptr;
PyObject* store_fault = nullptr;

// Thread identities come from a process-wide counter, so a thread started after the
// creator has died never inherits its identity (OS thread ids are reused).
std::uint64_t current_thread_id() noexcept {
    static std::atomic<std::uint64_t> next{1};
    thread_local const std::uint64_t id = next.fetch_add(1, std::memory_order_relaxed);
    return id;
}

constexpr std::uintptr_t BORROWED = ~std::uintptr_t{0};

struct Instance {
    Instance(Store s, std::uint64_t thread) : store(std::move(s)), owner(thread) {}
    Store store;
    std::atomic<std::uintptr_t> borrow{0};
    std::uint64_t owner;
};

struct PyFeatureStore {
    PyObject_HEAD
    Instance* instance;  // null only after finalization
};

// Frees the borrow flag on every way out of a command, C++ exceptions included.
class BorrowGuard {
public:
    explicit BorrowGuard(std::atomic<std::uintptr_t>& flag) : flag_(flag) {}
    BorrowGuard(const BorrowGuard&) = delete;
    BorrowGuard& operator=(const BorrowGuard&) = delete;
    ~BorrowGuard() { flag_.store(0, std::memory_order_release); }

private:
    std::atomic<std::uintptr_t>& flag_;
};

void raise_fault(const char* message) { PyErr_SetString(store_fault, message); }

// Runs one entry point; no C++ exception may unwind into the interpreter.
template <class Body>
PyObject* guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::exception& e) {
        raise_fault(e.what());
    } catch (...) {
        raise_fault("unknown internal fault");
    }
    return nullptr;
}

// Binds the single parameter `name` from a call's arguments; returns a borrowed
// reference, or null with TypeError set.
PyObject* bind_single(const char* callable, const char* name, PyObject* args, PyObject* kwargs) {
    const Py_ssize_t positional = PyTuple_Size(args);
    if (positional < 0) return nullptr;
    if (positional > 1) {
        PyErr_Format(PyExc_TypeError, "%s takes 1 positional arguments but %zd were given", callable,
                     positional);
        return nullptr;
    }
    PyObject* value = positional == 1 ? PyTuple_GetItem(args, 0) : nullptr;
    if (kwargs != nullptr) {
        Py_ssize_t pos = 0;
        PyObject* key = nullptr;
        PyObject* item = nullptr;
        while (PyDict_Next(kwargs, &pos, &key, &item)) {
            if (!PyUnicode_Check(key) || PyUnicode_CompareWithASCIIString(key, name) != 0) {
                PyErr_Format(PyExc_TypeError, "%s got an unexpected keyword argument '%S'", callable, key);
                return nullptr;
            }
            if (value != nullptr) {
                PyErr_Format(PyExc_TypeError, "%s got multiple values for argument '%s'", callable, name);
                return nullptr;
            }
            value = item;
        }
    }
    if (value == nullptr) {
        PyErr_Format(PyExc_TypeError, "%s missing 1 required positional argument: '%s'", callable, name);
    }
    return value;
}

void raise_not_str(PyObject* value, const char* name) {
    PyObject* type_name = PyType_GetName(Py_TYPE(value));
    if (type_name == nullptr) return;
    PyObject* message = PyUnicode_FromFormat("'%U' object is not an instance of 'str'", type_name);
    Py_DECREF(type_name);
    if (message == nullptr) return;
    PyObject* error = PyObject_CallFunctionObjArgs(PyExc_TypeError, message, nullptr);
    Py_DECREF(message);
    if (error == nullptr) return;
    PyObject* note = PyUnicode_FromFormat("while processing '%s'", name);
    PyObject* noted = note != nullptr ? PyObject_CallMethod(error, "add_note", "O", note) : nullptr;
    Py_XDECREF(note);
    if (noted == nullptr) {
        Py_DECREF(error);
        return;
    }
    Py_DECREF(noted);
    PyErr_SetObject(PyExc_TypeError, error);
    Py_DECREF(error);
}

// The UTF-8 text of a str argument; it stays valid while the argument lives.
std::optional<std::string_view> text_argument(PyObject* value, const char* name) {
    if (!PyUnicode_Check(value)) {
        raise_not_str(value, name);
        return std::nullopt;
    }
    Py_ssize_t size = 0;
    const char* data = PyUnicode_AsUTF8AndSize(value, &size);
    if (data == nullptr) return std::nullopt;  // the interpreter's own encoding error
    return std::string_view(data, static_cast<std::size_t>(size));
}

PyObject* new_str(std::string_view text) {
    return PyUnicode_FromStringAndSize(text.data(), static_cast<Py_ssize_t>(text.size()));
}

void raise_value_error(const std::string& text) {
    PyObject* message = new_str(text);
    if (message == nullptr) return;
    PyErr_SetObject(PyExc_ValueError, message);
    Py_DECREF(message);
}

PyObject* feature_store_new(PyTypeObject* type, PyObject* args, PyObject* kwargs) {
    return guarded([&]() -> PyObject* {
        PyObject* argument = bind_single("FeatureStore.__new__()", "spec_json", args, kwargs);
        if (argument == nullptr) return nullptr;
        const auto text = text_argument(argument, "spec_json");
        if (!text) return nullptr;
        auto store = Store::from_spec_text(*text);
        if (!store) {
            raise_value_error(store.error().text());
            return nullptr;
        }
        auto instance = std::make_unique<Instance>(std::move(*store), current_thread_id());
        auto alloc = reinterpret_cast<allocfunc>(PyType_GetSlot(type, Py_tp_alloc));
        PyObject* self = alloc(type, 0);
        if (self == nullptr) return nullptr;
        reinterpret_cast<PyFeatureStore*>(self)->instance = instance.release();
        return self;
    });
}

PyObject* feature_store_command(PyObject* self, PyObject* args, PyObject* kwargs) {
    return guarded([&]() -> PyObject* {
        PyObject* argument = bind_single("FeatureStore.command()", "cmd_json", args, kwargs);
        if (argument == nullptr) return nullptr;
        Instance* instance = reinterpret_cast<PyFeatureStore*>(self)->instance;
        if (instance == nullptr) {
            raise_fault("the store of this FeatureStore has been released");
            return nullptr;
        }
        const std::uint64_t here = current_thread_id();
        if (here != instance->owner) {
            PyErr_Format(store_fault,
                         "assertion `left == right` failed: %s is unsendable, but sent to another thread\n"
                         "  left: ThreadId(%llu)\n right: ThreadId(%llu)",
                         NATIVE_TYPE_NAME, static_cast<unsigned long long>(here),
                         static_cast<unsigned long long>(instance->owner));
            return nullptr;
        }
        std::uintptr_t expected = 0;
        if (!instance->borrow.compare_exchange_strong(expected, BORROWED, std::memory_order_acquire)) {
            PyErr_SetString(PyExc_RuntimeError, "Already borrowed");
            return nullptr;
        }
        const BorrowGuard guard(instance->borrow);
        const auto text = text_argument(argument, "cmd_json");
        if (!text) return nullptr;
        auto response = instance->store.command(*text);
        if (!response) {
            raise_value_error(response.error().text());
            return nullptr;
        }
        return new_str(*response);
    });
}

PyObject* feature_store_version(PyObject*, PyObject*) {
    return guarded([]() -> PyObject* { return new_str(ostrel::store::VERSION); });
}

// Runs from the interpreter's dealloc with the object still alive, so the unraisable
// hook may look at it. A store dropped on a foreign thread is reported, and still freed:
// it holds no thread-affine resource, and leaking it would only cost memory.
void feature_store_finalize(PyObject* self) {
    auto* object = reinterpret_cast<PyFeatureStore*>(self);
    Instance* instance = object->instance;
    if (instance == nullptr) return;
    object->instance = nullptr;
    PyObject* saved_type = nullptr;
    PyObject* saved_value = nullptr;
    PyObject* saved_traceback = nullptr;
    PyErr_Fetch(&saved_type, &saved_value, &saved_traceback);
    if (instance->owner != current_thread_id()) {
        PyErr_Format(PyExc_RuntimeError, "%s is unsendable, but is being dropped on another thread",
                     NATIVE_TYPE_NAME);
        PyErr_WriteUnraisable(self);
    }
    delete instance;
    PyErr_Restore(saved_type, saved_value, saved_traceback);
}

PyMethodDef feature_store_methods[] = {
    {"command", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(feature_store_command)),
     METH_VARARGS | METH_KEYWORDS, COMMAND_DOC},
    {"version", feature_store_version, METH_NOARGS | METH_STATIC, VERSION_DOC},
    {nullptr, nullptr, 0, nullptr},
};

PyType_Slot feature_store_slots[] = {
    {Py_tp_doc, const_cast<char*>(CLASS_DOC)},
    {Py_tp_new, reinterpret_cast<void*>(feature_store_new)},
    {Py_tp_finalize, reinterpret_cast<void*>(feature_store_finalize)},
    {Py_tp_methods, feature_store_methods},
    {0, nullptr},
};

// The "builtins." prefix sets `__module__` explicitly: a bare name gets a deprecation warning.
PyType_Spec feature_store_spec = {
    "builtins.FeatureStore",
    static_cast<int>(sizeof(PyFeatureStore)),
    0,
    Py_TPFLAGS_DEFAULT | Py_TPFLAGS_IMMUTABLETYPE,
    feature_store_slots,
};

int module_exec(PyObject* module) {
    // The fault type exists before any instance can need it.
    if (store_fault == nullptr) {
        store_fault = PyErr_NewExceptionWithDoc("ostrel_feature_store.StoreFault", FAULT_DOC,
                                                PyExc_BaseException, nullptr);
        if (store_fault == nullptr) return -1;
    }

    PyObject* version = new_str(ostrel::store::VERSION);
    if (version == nullptr) return -1;
    const int added = PyModule_AddObjectRef(module, "__version__", version);
    Py_DECREF(version);
    if (added < 0) return -1;

    if (feature_store_type == nullptr) {
        feature_store_type = PyType_FromSpec(&feature_store_spec);
        if (feature_store_type == nullptr) return -1;
    }
    if (PyModule_AddObjectRef(module, "FeatureStore", feature_store_type) < 0) return -1;

    // Private here; the package re-exports it as ostrel_feature_store.StoreFault.
    return PyModule_AddObjectRef(module, "_StoreFault", store_fault);
}

PyModuleDef_Slot module_slots[] = {
    {Py_mod_exec, reinterpret_cast<void*>(module_exec)},
    {0, nullptr},
};

PyModuleDef module_def = {
    PyModuleDef_HEAD_INIT,
    "_ostrel_feature_store",
    MODULE_DOC,
    0,
    nullptr,
    module_slots,
    nullptr,
    nullptr,
    nullptr,
};

}  // namespace

PyMODINIT_FUNC PyInit__ostrel_feature_store() { return PyModuleDef_Init(&module_def); }
