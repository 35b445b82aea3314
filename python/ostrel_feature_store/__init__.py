"""Feature frames for machine learning from market data.

A :class:`FeatureStore` is created from a JSON feature specification and driven
by JSON commands through :meth:`FeatureStore.command`. :class:`StoreFault` (a
direct subclass of ``BaseException``) reports an internal fault of the store or
a store used from a thread other than the one that created it.
"""

from ._ostrel_feature_store import FeatureStore, __version__
from ._ostrel_feature_store import _StoreFault as StoreFault

__all__ = ["FeatureStore", "StoreFault", "__version__"]
