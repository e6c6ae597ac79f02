//<META /> Call after ")->" behind a wrapped new expression; <SPL_PTR /> is "spl" in a constructor, else "GetSPL()".
SetSplPtr(<SPL_PTR />)