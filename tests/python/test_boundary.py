"""The Python boundary: module and class shape, argument binding, errors, thread binding."""

import sys
import threading

import pytest

import ostrel_feature_store
from ostrel_feature_store import FeatureStore, StoreFault, __version__
from ostrel_feature_store import _ostrel_feature_store as native

SPEC = '{"universe":["A"],"features":[{"kind":"price","field":"close"}]}'
VERSION_CMD = '{"cmd":"version"}'
VERSION_RESPONSE = '{"version":"0.2.0"}'
SURROGATE_ERROR = "'utf-8' codec can't encode character '\\ud800' in position 0: surrogates not allowed"
NEW = "FeatureStore.__new__()"
COMMAND = "FeatureStore.command()"


@pytest.fixture
def store():
    return FeatureStore(SPEC)


def raised(call):
    with pytest.raises(BaseException) as info:
        call()
    return info.value


def run_on_new_thread(target):
    thread = threading.Thread(target=target)
    thread.start()
    thread.join()


# (call, exact exception type, exact message, notes)
CONSTRUCTOR_FAILURES = {
    "no-argument": (lambda: FeatureStore(), TypeError,
                    f"{NEW} missing 1 required positional argument: 'spec_json'", None),
    "two-arguments": (lambda: FeatureStore(SPEC, SPEC), TypeError,
                      f"{NEW} takes 1 positional arguments but 2 were given", None),
    "wrong-keyword": (lambda: FeatureStore(spec=SPEC), TypeError,
                      f"{NEW} got an unexpected keyword argument 'spec'", None),
    "keyword-and-positional": (lambda: FeatureStore(SPEC, spec_json=SPEC), TypeError,
                               f"{NEW} got multiple values for argument 'spec_json'", None),
    "int": (lambda: FeatureStore(1), TypeError,
            "'int' object is not an instance of 'str'", ["while processing 'spec_json'"]),
    "bytes": (lambda: FeatureStore(SPEC.encode()), TypeError,
              "'bytes' object is not an instance of 'str'", ["while processing 'spec_json'"]),
    "lone-surrogate": (lambda: FeatureStore("\ud800"), UnicodeEncodeError, SURROGATE_ERROR, None),
}


@pytest.mark.parametrize("call, kind, message, notes", CONSTRUCTOR_FAILURES.values(),
                         ids=CONSTRUCTOR_FAILURES.keys())
def test_constructor_failures(call, kind, message, notes):
    error = raised(call)
    assert type(error) is kind
    assert str(error) == message
    assert getattr(error, "__notes__", None) == notes


def test_empty_spec_is_a_parse_error():
    error = raised(lambda: FeatureStore(""))
    assert type(error) is ValueError
    assert str(error).startswith("parse: EOF while parsing a value")


COMMAND_FAILURES = {
    "no-argument": (lambda s: s.command(), TypeError,
                    f"{COMMAND} missing 1 required positional argument: 'cmd_json'", None),
    "two-arguments": (lambda s: s.command(VERSION_CMD, VERSION_CMD), TypeError,
                      f"{COMMAND} takes 1 positional arguments but 2 were given", None),
    "wrong-keyword": (lambda s: s.command(cmd=VERSION_CMD), TypeError,
                      f"{COMMAND} got an unexpected keyword argument 'cmd'", None),
    "keyword-and-positional": (lambda s: s.command(VERSION_CMD, cmd_json=VERSION_CMD), TypeError,
                               f"{COMMAND} got multiple values for argument 'cmd_json'", None),
    "int": (lambda s: s.command(1), TypeError,
            "'int' object is not an instance of 'str'", ["while processing 'cmd_json'"]),
    "bytes": (lambda s: s.command(VERSION_CMD.encode()), TypeError,
              "'bytes' object is not an instance of 'str'", ["while processing 'cmd_json'"]),
    "lone-surrogate": (lambda s: s.command("\ud800"), UnicodeEncodeError, SURROGATE_ERROR, None),
    "unknown-cmd": (lambda s: s.command('{"cmd":"VERSION"}'), ValueError,
                    "bad spec: unknown cmd: VERSION", None),
}


@pytest.mark.parametrize("call, kind, message, notes", COMMAND_FAILURES.values(),
                         ids=COMMAND_FAILURES.keys())
def test_command_failures_leave_the_store_usable(store, call, kind, message, notes):
    error = raised(lambda: call(store))
    assert type(error) is kind
    assert str(error) == message
    assert getattr(error, "__notes__", None) == notes
    assert store.command(VERSION_CMD) == VERSION_RESPONSE


def test_keyword_arguments():
    assert FeatureStore(spec_json=SPEC).command(cmd_json=VERSION_CMD) == VERSION_RESPONSE


def test_str_subclass_is_accepted():
    class Text(str):
        pass

    assert FeatureStore(Text(SPEC)).command(Text(VERSION_CMD)) == VERSION_RESPONSE


def test_version_everywhere(store):
    assert FeatureStore.version() == store.version() == __version__ == native.__version__ == "0.2.0"


def test_module_shape():
    assert native.__doc__ == "The native module (`ostrel_feature_store._ostrel_feature_store`)."
    assert {name for name in vars(native) if not name.startswith("_")} == {"FeatureStore"}
    assert native.FeatureStore is FeatureStore
    assert set(ostrel_feature_store.__all__) == {"FeatureStore", "StoreFault", "__version__"}


def test_class_shape():
    assert FeatureStore.__module__ == "builtins"
    assert FeatureStore.__name__ == FeatureStore.__qualname__ == "FeatureStore"
    assert FeatureStore.__text_signature__ == "(spec_json)"
    assert FeatureStore.__doc__ == (
        "A feature store driven by JSON commands.\n\n"
        "`unsendable`: the store holds a streaming universe of stateful indicator\n"
        "evaluators, so a handle is bound to the thread that created it."
    )
    assert FeatureStore.command.__text_signature__ == "($self, cmd_json)"
    assert FeatureStore.command.__doc__ == "Apply a command JSON and return the resulting response JSON."
    assert FeatureStore.version.__text_signature__ == "()"
    assert FeatureStore.version.__doc__ == "The library version."


def test_store_fault_is_a_direct_base_exception_subclass():
    assert StoreFault is native._StoreFault
    assert StoreFault.__mro__ == (StoreFault, BaseException, object)
    assert f"{StoreFault.__module__}.{StoreFault.__qualname__}" == "ostrel_feature_store.StoreFault"


def foreign_call_errors(store):
    """(type, text) of what a command from a new thread raises; the exception itself
    is not kept, as its traceback would hold the store in a cycle."""
    caught = []

    def call():
        try:
            store.command(VERSION_CMD)
        except BaseException as error:
            caught.append((type(error), str(error)))

    run_on_new_thread(call)
    return caught


def test_command_from_another_thread_raises_store_fault(store):
    [(kind, message)] = foreign_call_errors(store)
    assert kind is StoreFault
    assert "_ostrel_feature_store::PyFeatureStore is unsendable, but sent to another thread" in message
    assert store.command(VERSION_CMD) == VERSION_RESPONSE


def test_a_new_thread_never_passes_for_the_dead_creator(monkeypatch):
    made = []
    run_on_new_thread(lambda: made.append(FeatureStore(SPEC)))
    assert [kind for kind, _ in foreign_call_errors(made[0])] == [StoreFault]
    monkeypatch.setattr(sys, "unraisablehook", lambda report: None)  # dropped off its thread
    made.clear()


def test_drop_on_another_thread_is_reported_as_unraisable(monkeypatch):
    reports = []
    monkeypatch.setattr(sys, "unraisablehook", lambda report: reports.append(
        (report.exc_type, str(report.exc_value), type(report.object))))
    held = [FeatureStore(SPEC)]
    run_on_new_thread(held.clear)
    assert reports == [(RuntimeError,
                        "_ostrel_feature_store::PyFeatureStore is unsendable, but is being dropped on another thread",
                        FeatureStore)]


def test_drop_on_the_creating_thread_is_silent(monkeypatch):
    reports = []
    monkeypatch.setattr(sys, "unraisablehook", reports.append)
    held = FeatureStore(SPEC)
    del held
    assert reports == []
