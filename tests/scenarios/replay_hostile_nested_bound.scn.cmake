# 511 clicks on Start at one time: the first starts a game, each Stop and
# Start pair after it starts one inside the running loop. That makes 256
# nested game loops, the most there may be; the innermost game runs on.
string(REPEAT "at 1100 click 0\n" 511 clicks)
file(WRITE ${OUT} "random 0.1 0.5\nseed 1\n${clicks}run 1200\ndump\n")
