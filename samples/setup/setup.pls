# The German language pack setup. Its installation statements arrive with the
# interpreter and the command families; for now the engine starts, unpacks
# the support archive and runs through its phases.
@title |Pellion
@publisher |Brennic Ltd.
@version |2.0.47
@product-code |{6B8125B1-8560-4919-BC49-5544BF0EFA68}
@revision-code |{3EDCCA79-A858-4303-9BCF-1D96429E97D7}
@default-language |English

Comment
  |German language pack for Vantrel setups
Set Variable
  |TARGETDIR
  |$PROGRAMFILES$\Brennic\Vantrel
