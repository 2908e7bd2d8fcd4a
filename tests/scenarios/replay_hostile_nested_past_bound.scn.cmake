# 513 clicks on Start at one time: the 257th nested game's Start is refused.
string(REPEAT "at 1100 click 0\n" 513 clicks)
file(WRITE ${OUT} "seed 1\n${clicks}run 1200\ndump\n")
